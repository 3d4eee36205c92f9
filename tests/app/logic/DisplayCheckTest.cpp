#include "app/logic/DisplayCheck.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace addrix {
namespace {

TEST(HasDisplay, NeedsADisplayOrAChosenPlatform) {
    using Env = std::map<std::string, std::string>;
    const std::pair<Env, bool> cases[] = {
        {{}, false},
        {{{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}}, false},
        {{{"HOME", "/root"}, {"TERM", "xterm"}}, false},
        {{{"DISPLAY", ":0"}}, true},
        {{{"WAYLAND_DISPLAY", "wayland-0"}}, true},
        {{{"QT_QPA_PLATFORM", "offscreen"}}, true},
    };
    for (const auto& [env, expected] : cases) {
        const EnvLookup lookup = [&env = env](const std::string& name) {
            const auto it = env.find(name);
            return it == env.end() ? std::string() : it->second;
        };
#if defined(_WIN32) || defined(__APPLE__)
        EXPECT_TRUE(HasDisplay(lookup)); // the system's own desktop is always there
#else
        EXPECT_EQ(HasDisplay(lookup), expected) << env.size() << " variables";
#endif
    }
}

} // namespace
} // namespace addrix
