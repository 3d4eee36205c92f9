#include "platform/InterruptSignal.h"

#include <csignal>

namespace addrix {

namespace {

using SignalHandler = void (*)(int);

volatile std::sig_atomic_t s_flag = 0;
SignalHandler s_previousInt = SIG_DFL;
SignalHandler s_previousTerm = SIG_DFL;
SignalHandler s_previousBreak = SIG_DFL;

void Handler(int signal) {
    s_flag = 1;
    // The system resets the handler before calling it.
    std::signal(signal, &Handler);
}

} // namespace

InterruptSignal::InterruptSignal() {
    s_flag = 0;
    s_previousInt = std::signal(SIGINT, &Handler);
    s_previousTerm = std::signal(SIGTERM, &Handler);
    // The console's Ctrl-Break, which the C runtime reports apart from Ctrl-C.
    s_previousBreak = std::signal(SIGBREAK, &Handler);
}

InterruptSignal::~InterruptSignal() {
    std::signal(SIGINT, s_previousInt);
    std::signal(SIGTERM, s_previousTerm);
    std::signal(SIGBREAK, s_previousBreak);
}

int InterruptSignal::readableDescriptor() const {
    return -1;
}

bool InterruptSignal::takePending() {
    if (!s_flag)
        return false;
    s_flag = 0;
    return true;
}

} // namespace addrix
