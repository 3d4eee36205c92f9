#pragma once

#include <cstdint>
#include <string>

namespace addrix {

// ParserState: what the download expects next from the device.
enum GalderParserState : std::int16_t {
    kExpectWakeUpAnswer = 0,
    kExpectIdentification = 6,
    kExpectHeader = 7,
    kExpectRecords = 8,
    kDownloadComplete = 9,
};

// One piece of what a Galder device sends, as GalderFramer cuts it.
struct GalderFrame {
    enum class Kind {
        None,           // not enough bytes yet
        WakeUpAnswer,   // exactly the byte 0x8B
        WrongAnswer,    // two bytes or more where 0x8B alone was expected
        Identification, // 37 bytes or more; `disabled` when the last one is "D"
        Header,         // 06, layout, 00, record count
        Record,         // 0x7F and 256 data bytes, which `data` holds
        OutOfStep,      // 258 bytes or more where a record should begin with 0x7F
    };

    Kind kind = Kind::None;
    bool disabled = false;  // Identification
    bool announced = false; // Header: its third byte is 00, so layout and total count
    std::int16_t layout = 0;
    std::int16_t total = 0;
    std::string data;
};

} // namespace addrix
