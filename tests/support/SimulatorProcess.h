#pragma once

#include <string>
#include <vector>

#include <sys/types.h>

namespace addrix::test {

// galder-sim running as a child process on a pseudo-terminal of its own.
// Ended (SIGTERM) with the object unless it has exited already.
class SimulatorProcess {
public:
    // Starts `program` with `args` and reads the device path it prints.
    SimulatorProcess(const std::string& program, const std::vector<std::string>& args);
    ~SimulatorProcess();
    SimulatorProcess(const SimulatorProcess&) = delete;
    SimulatorProcess& operator=(const SimulatorProcess&) = delete;

    // The pseudo-terminal to open; empty when the simulator did not start.
    const std::string& device() const { return m_device; }
    // Waits up to `ms` for the simulator to exit; its exit status, or -1
    // when it is still running.
    int wait(int ms);
    // Everything it printed after the device path (complete once it exited).
    std::string output();

private:
    pid_t m_pid = -1;
    int m_out = -1;
    int m_status = -1;
    std::string m_device;
    std::string m_buffer;
};

} // namespace addrix::test
