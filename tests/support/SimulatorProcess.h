#pragma once

#include "support/ChildProcess.h"

#include <string>
#include <vector>

namespace addrix::test {

// galder-sim on a pseudo-terminal of its own, ended with the object.
class SimulatorProcess {
public:
    SimulatorProcess(const std::string& program, const std::vector<std::string>& args);
    // The pseudo-terminal to open; empty when the simulator did not start.
    const std::string& device() const { return m_device; }

private:
    TempDir m_scratch;
    ChildProcess m_child;
    std::string m_device;
};

} // namespace addrix::test
