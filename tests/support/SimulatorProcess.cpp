#include "support/SimulatorProcess.h"

#include <chrono>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace addrix::test {

SimulatorProcess::SimulatorProcess(const std::string& program,
                                   const std::vector<std::string>& args) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return;
    std::vector<std::string> all{program};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
    const int spawned =
        posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    m_out = pipeFds[0];
    if (spawned != 0) {
        m_pid = -1;
        return;
    }
    // The first line is the device; give the simulator a few seconds.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (m_buffer.find('\n') == std::string::npos && std::chrono::steady_clock::now() < until) {
        pollfd p{m_out, POLLIN, 0};
        if (::poll(&p, 1, 100) != 1)
            continue;
        char buf[256];
        const ssize_t n = ::read(m_out, buf, sizeof buf);
        if (n <= 0)
            break;
        m_buffer.append(buf, static_cast<std::size_t>(n));
    }
    const auto end = m_buffer.find('\n');
    if (end != std::string::npos) {
        m_device = m_buffer.substr(0, end);
        m_buffer.erase(0, end + 1);
    }
}

SimulatorProcess::~SimulatorProcess() {
    if (m_pid > 0 && wait(0) < 0) {
        ::kill(m_pid, SIGTERM);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
    }
    if (m_out >= 0)
        ::close(m_out);
}

int SimulatorProcess::wait(int ms) {
    if (m_pid <= 0 || m_status >= 0)
        return m_status;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return m_status;
        }
        if (std::chrono::steady_clock::now() >= until)
            return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

std::string SimulatorProcess::output() {
    if (m_out < 0)
        return m_buffer;
    for (;;) {
        pollfd p{m_out, POLLIN, 0};
        // Once the simulator has exited, read to the end; before, take what is there.
        if (::poll(&p, 1, m_status >= 0 ? 1000 : 0) != 1)
            break;
        char buf[512];
        const ssize_t n = ::read(m_out, buf, sizeof buf);
        if (n <= 0)
            break;
        m_buffer.append(buf, static_cast<std::size_t>(n));
    }
    return m_buffer;
}

} // namespace addrix::test
