#pragma once

#include "support/ChildProcess.h"

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace addrix::test {

// galder-sim on a pseudo-terminal of its own, ended with the object.
class SimulatorProcess {
public:
    SimulatorProcess(const std::string& program, const std::vector<std::string>& args)
        : m_child(program, args, m_scratch) {
        // The first line it prints is the device; give it a few seconds.
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        std::string out;
        while ((out = m_child.out()).find('\n') == std::string::npos &&
               std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (const auto end = out.find('\n'); end != std::string::npos)
            m_device = out.substr(0, end);
    }
    // The pseudo-terminal to open; empty when the simulator did not start.
    const std::string& device() const { return m_device; }

private:
    TempDir m_scratch;
    ChildProcess m_child;
    std::string m_device;
};

} // namespace addrix::test
