#include "platform/x11/X11WindowActivator.h"

#include <gtest/gtest.h>

namespace addrix {
namespace {

// Without a display to reach, activation fails (and the caller starts the
// program instead).
TEST(X11WindowActivator, FailsWithoutADisplay) {
    EXPECT_FALSE(X11WindowActivator(":977").activate("Norvik Manager"));
}

} // namespace
} // namespace addrix
