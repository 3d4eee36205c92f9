#pragma once

#include "platform/IClock.h"

namespace addrix {

// The monotonic clock of the standard library.
class SteadyClock final : public IClock {
public:
    Clock::time_point now() const override { return Clock::now(); }
};

} // namespace addrix
