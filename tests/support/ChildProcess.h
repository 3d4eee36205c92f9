#pragma once

#include "support/TestSupport.h"

#include <string>
#include <vector>

#include <sys/types.h>

namespace addrix::test {

// A program started as a child with no input and its output streams in files
// of `scratch`. Killed with the object unless it has exited already.
class ChildProcess {
public:
    ChildProcess(const std::string& path, const std::vector<std::string>& args,
                 const TempDir& scratch);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Waits for the exit; the exit status, or 128 + the signal that ended it.
    int wait();
    void signal(int number);
    std::string out() const { return ReadFile(m_outPath); }
    std::string err() const { return ReadFile(m_errPath); }

private:
    std::string m_outPath;
    std::string m_errPath;
    pid_t m_pid = -1;
    int m_status = -1;
};

} // namespace addrix::test
