#include "wizard/DisplayCheck.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace addrix {
namespace {

// One variable set (none for ""), every other one empty.
TEST(HasDisplay, NeedsADisplayOrAChosenPlatform) {
    for (const std::string set : {"", "TERM", "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const EnvLookup env = test::Env({{set, "x"}});
#if defined(_WIN32) || defined(__APPLE__)
        EXPECT_TRUE(HasDisplay(env)) << set; // the system's own desktop is always there
#else
        EXPECT_EQ(HasDisplay(env), set != "" && set != "TERM") << set;
#endif
    }
}

} // namespace
} // namespace addrix
