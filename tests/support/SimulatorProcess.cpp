#include "support/SimulatorProcess.h"

#include <chrono>
#include <thread>

namespace addrix::test {

SimulatorProcess::SimulatorProcess(const std::string& program, const std::vector<std::string>& args)
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

} // namespace addrix::test
