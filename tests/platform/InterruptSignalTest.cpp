// The POSIX signal catcher against real signals sent to the test itself.

#include "platform/InterruptSignal.h"

#include <gtest/gtest.h>

#include <csignal>

namespace addrix {
namespace {

class InterruptSignalCatches : public ::testing::TestWithParam<int> {};

// Each signal is recorded once, and the handler that was there before (here:
// ignore) is back when the catcher goes.
TEST_P(InterruptSignalCatches, RecordsTheSignalAndRestoresTheHandlerBefore) {
    const int number = GetParam();
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    struct sigaction saved {};
    ASSERT_EQ(sigaction(number, &ignore, &saved), 0);
    {
        InterruptSignal interrupt;
        ASSERT_GE(interrupt.readableDescriptor(), 0);
        EXPECT_FALSE(interrupt.takePending());
        std::raise(number);
        EXPECT_TRUE(interrupt.takePending());
        EXPECT_FALSE(interrupt.takePending());
    }
    struct sigaction after {};
    sigaction(number, nullptr, &after);
    sigaction(number, &saved, nullptr);
    EXPECT_EQ(after.sa_handler, SIG_IGN);
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
