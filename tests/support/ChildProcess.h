#pragma once

#include "support/TestSupport.h"

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace addrix::test {

// A program started as a child with no input and its output streams in files
// of its own. Killed with the object unless it has exited already.
class ChildProcess {
public:
    ChildProcess(const std::string& path, std::vector<std::string> args)
        : m_outPath(m_scratch.file("stdout.txt")), m_errPath(m_scratch.file("stderr.txt")) {
        args.insert(args.begin(), path);
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, m_outPath.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, m_errPath.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (posix_spawn(&m_pid, path.c_str(), &actions, nullptr, argv.data(), environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~ChildProcess() {
        signal(SIGKILL);
        wait();
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Waits for the exit; the exit status, or 128 + the signal that ended it.
    int wait() {
        if (m_pid > 0 && m_status < 0) {
            int status = 0;
            ::waitpid(m_pid, &status, 0);
            m_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        return m_status;
    }
    void signal(int number) {
        if (m_pid > 0 && m_status < 0)
            ::kill(m_pid, number);
    }
    std::string out() const { return ReadFile(m_outPath); }
    std::string err() const { return ReadFile(m_errPath); }
    // The first line of the output (`ofErrors`: of the error output), given
    // five seconds to end; what there is by then otherwise.
    std::string firstLine(bool ofErrors = false) const {
        std::string text;
        for (int tries = 0; tries < 500 && text.find('\n') == std::string::npos; ++tries) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            text = ofErrors ? err() : out();
        }
        return text.substr(0, text.find('\n'));
    }

private:
    TempDir m_scratch;
    std::string m_outPath;
    std::string m_errPath;
    pid_t m_pid = -1;
    int m_status = -1;
};

} // namespace addrix::test
