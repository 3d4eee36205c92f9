#pragma once

#include "sources/galder/GalderFrame.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace addrix {

// Cuts what a Galder device sends into its answers, the download header and
// the records, by what the download expects next. Bytes that make no whole
// frame yet wait for the next receipt.
class GalderFramer {
public:
    // Bytes received, after those still waiting.
    void append(std::string_view bytes) { m_buffer.append(bytes); }
    // The next frame of the kind that `expected` (a ParserState) asks for,
    // taken off the bytes; Kind::None while more bytes are needed.
    GalderFrame next(std::int16_t expected);
    // Drops the bytes still waiting.
    void clear() { m_buffer.clear(); }

private:
    GalderFrame wakeUpAnswer();
    GalderFrame identification();
    GalderFrame header();
    GalderFrame record();

    std::string m_buffer; // RxBuffer
};

} // namespace addrix
