#pragma once

namespace addrix {

// Catches Ctrl-C, a polite kill and, where the system has one, a hang-up (a
// closed terminal: SIGINT, SIGTERM, SIGHUP) while it lives, and restores the
// previous handlers when it goes; on POSIX one ignored when it came (under
// nohup) stays ignored. The handler only records the signal; the program
// acts on it from its event loop. One at a time.
class InterruptSignal {
public:
    InterruptSignal();
    ~InterruptSignal();
    InterruptSignal(const InterruptSignal&) = delete;
    InterruptSignal& operator=(const InterruptSignal&) = delete;

    // A descriptor that becomes readable when a signal arrives; -1 where the
    // system has none, and `takePending` is to be polled instead.
    int readableDescriptor() const;
    // True when a signal arrived since the last call; empties the descriptor.
    bool takePending();
};

} // namespace addrix
