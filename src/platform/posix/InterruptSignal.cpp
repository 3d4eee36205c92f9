#include "platform/InterruptSignal.h"

#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace addrix {

namespace {

// Ctrl-C, a polite kill and a hang-up (the terminal closed) all cancel.
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kSignalCount = sizeof kSignals / sizeof kSignals[0];

// The self-pipe: the handler may only write a byte.
int s_pipe[2] = {-1, -1};
struct sigaction s_previous[kSignalCount] = {};
bool s_caught[kSignalCount] = {};

void Handler(int) {
    if (s_pipe[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const auto written = ::write(s_pipe[1], &byte, 1);
    }
}

} // namespace

InterruptSignal::InterruptSignal() {
    if (::pipe(s_pipe) != 0) {
        s_pipe[0] = s_pipe[1] = -1;
        return;
    }
    for (int fd : s_pipe) {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    struct sigaction action {};
    action.sa_handler = &Handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    // A signal ignored when the program started (a hang-up under nohup, or
    // Ctrl-C in a background job) stays ignored.
    for (int i = 0; i < kSignalCount; ++i)
        s_caught[i] = sigaction(kSignals[i], nullptr, &s_previous[i]) == 0 &&
                      s_previous[i].sa_handler != SIG_IGN &&
                      sigaction(kSignals[i], &action, nullptr) == 0;
}

InterruptSignal::~InterruptSignal() {
    for (int i = 0; i < kSignalCount; ++i) {
        if (s_caught[i])
            sigaction(kSignals[i], &s_previous[i], nullptr);
        s_caught[i] = false;
    }
    for (int& fd : s_pipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

int InterruptSignal::readableDescriptor() const {
    return s_pipe[0];
}

bool InterruptSignal::takePending() {
    bool pending = false;
    char drained[16];
    while (s_pipe[0] >= 0 && ::read(s_pipe[0], drained, sizeof drained) > 0)
        pending = true;
    return pending;
}

} // namespace addrix
