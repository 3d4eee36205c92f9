#pragma once

#include <string>
#include <utility>

namespace addrix {

// How a Galder download ends: what it shows and what it leaves in GalderCount.
struct GalderEnding {
    enum class Kind {
        Done,      // every announced record written: the count
        Limit,     // MaxDeviceRecords reached with records still to come: the count
        Failed,    // an error or a time-out, with its message: -1
        Cancelled, // the Cancel button: -2 when the tick notices it, -1 on a receipt
    };

    Kind kind = Kind::Done;
    std::string message; // Failed: the text of the box; none when empty
    std::string caption; // Failed: the title of the box
    bool noticedByTick = false;

    static GalderEnding Done() { return {}; }
    static GalderEnding Limit() { return {Kind::Limit, {}, {}, false}; }
    static GalderEnding Failed(std::string message, std::string caption = "Error Occurred") {
        return {Kind::Failed, std::move(message), std::move(caption), false};
    }
    static GalderEnding Cancelled(bool byTick) { return {Kind::Cancelled, {}, {}, byTick}; }
};

} // namespace addrix
