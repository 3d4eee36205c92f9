#pragma once

#include <chrono>

namespace addrix {

using Clock = std::chrono::steady_clock;

// The current time; a monotonic clock, so that a change of the wall clock
// neither fires nor delays a time-out.
class IClock {
public:
    virtual ~IClock() = default;
    virtual Clock::time_point now() const = 0;
};

// A repeating tick on the user-interface thread. Who owns the timer decides
// where its ticks are delivered.
class ITickTimer {
public:
    virtual ~ITickTimer() = default;
    // (Re)starts the timer: the first tick comes one full interval from now.
    virtual void start(std::chrono::milliseconds interval) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
};

} // namespace addrix
