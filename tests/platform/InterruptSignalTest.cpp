// The POSIX signal catcher against real signals sent to the test itself.

#include "platform/InterruptSignal.h"

#include <gtest/gtest.h>

#include <csignal>

namespace addrix {
namespace {

using Handler = void (*)(int);

volatile std::sig_atomic_t s_before = 0;

void HandlerBefore(int) {
    s_before = s_before + 1;
}

class InterruptSignalCatches : public ::testing::TestWithParam<int> {
protected:
    // Gives the signal `handler` (none: leaves it) and returns the handler it
    // has afterwards.
    static Handler SetHandler(int number, Handler handler) {
        struct sigaction action {};
        action.sa_handler = handler;
        sigemptyset(&action.sa_mask);
        struct sigaction now {};
        if (handler)
            sigaction(number, &action, nullptr);
        sigaction(number, nullptr, &now);
        return now.sa_handler;
    }
    void TearDown() override { SetHandler(GetParam(), SIG_DFL); }
};

// Each signal is recorded once, not handed to the handler found, which is
// back when the catcher goes.
TEST_P(InterruptSignalCatches, RecordsTheSignalAndRestoresTheHandlerBefore) {
    const int number = GetParam();
    SetHandler(number, &HandlerBefore);
    s_before = 0;
    {
        InterruptSignal interrupt;
        ASSERT_GE(interrupt.readableDescriptor(), 0);
        EXPECT_FALSE(interrupt.takePending());
        std::raise(number);
        EXPECT_TRUE(interrupt.takePending());
        EXPECT_FALSE(interrupt.takePending());
    }
    EXPECT_EQ(s_before, 0);
    EXPECT_EQ(SetHandler(number, nullptr), &HandlerBefore);
}

// A signal ignored when the catcher came, as nohup leaves a hang-up, stays
// ignored.
TEST_P(InterruptSignalCatches, LeavesAnIgnoredSignalIgnored) {
    const int number = GetParam();
    SetHandler(number, SIG_IGN);
    InterruptSignal interrupt;
    EXPECT_EQ(SetHandler(number, nullptr), SIG_IGN);
    std::raise(number);
    EXPECT_FALSE(interrupt.takePending());
}

INSTANTIATE_TEST_SUITE_P(Signals, InterruptSignalCatches,
                         ::testing::Values(SIGINT, SIGTERM, SIGHUP),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return info.param == SIGINT    ? std::string("Interrupt")
                                    : info.param == SIGTERM ? std::string("Terminate")
                                                            : std::string("HangUp");
                         });

} // namespace
} // namespace addrix
