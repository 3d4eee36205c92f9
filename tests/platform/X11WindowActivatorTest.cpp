#include "platform/X11WindowActivator.h"
#include "platform/qt/SystemWindowActivator.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace addrix {
namespace {

// Without a display to reach, activation fails (and the caller starts the
// program instead).
TEST(X11WindowActivator, FailsWithoutADisplay) {
    EXPECT_FALSE(X11WindowActivator(":977").activate("Norvik Manager"));

    const char* display = std::getenv("DISPLAY");
    const std::string saved = display ? display : "";
    unsetenv("DISPLAY");
    EXPECT_FALSE(X11WindowActivator().activate("Norvik Manager"));
    EXPECT_FALSE(SystemWindowActivator().activate("Norvik Manager"));
    if (display)
        setenv("DISPLAY", saved.c_str(), 1);
}

} // namespace
} // namespace addrix
