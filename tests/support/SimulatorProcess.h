#pragma once

#include "support/ChildProcess.h"

namespace addrix::test {

// galder-sim on a pseudo-terminal of its own, ended with the object.
class SimulatorProcess : public ChildProcess {
public:
    using ChildProcess::ChildProcess;
    // The pseudo-terminal to open, the first line it prints; empty when the
    // simulator did not start.
    std::string device() const { return firstLine(); }
};

} // namespace addrix::test
