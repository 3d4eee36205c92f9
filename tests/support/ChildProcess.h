#pragma once

#include "support/TestSupport.h"

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace addrix::test {

// A program started as a child with no input and its output streams in files
// of its own. Killed with the object unless it has exited already. With
// `fileSizeLimit` (bytes), a write that would make a file larger fails as on
// a full disk (EFBIG; SIGXFSZ is ignored).
class ChildProcess {
public:
    ChildProcess(const std::string& path, std::vector<std::string> args,
                 rlim_t fileSizeLimit = RLIM_INFINITY)
        : m_outPath(m_scratch.file("stdout.txt")), m_errPath(m_scratch.file("stderr.txt")) {
        args.insert(args.begin(), path);
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        m_pid = ::fork();
        if (m_pid == 0) {
            // Only async-signal-safe calls until the program runs.
            const int in = ::open("/dev/null", O_RDONLY);
            const int out = ::open(m_outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            const int err = ::open(m_errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 ||
                ::dup2(err, 2) < 0)
                ::_exit(127);
            for (const int fd : {in, out, err})
                if (fd > 2)
                    ::close(fd);
            if (fileSizeLimit != RLIM_INFINITY) {
                const rlimit limit{fileSizeLimit, fileSizeLimit};
                ::signal(SIGXFSZ, SIG_IGN);
                ::setrlimit(RLIMIT_FSIZE, &limit);
            }
            ::execve(path.c_str(), argv.data(), environ);
            ::_exit(127);
        }
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
    // Stops the child where it is (SIGSTOP; SIGCONT goes on) and returns once
    // it has stopped; false when it had ended before.
    bool pause() {
        if (m_pid <= 0 || m_status >= 0)
            return false;
        ::kill(m_pid, SIGSTOP);
        int status = 0;
        ::waitpid(m_pid, &status, WUNTRACED);
        if (WIFSTOPPED(status))
            return true;
        m_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return false;
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
