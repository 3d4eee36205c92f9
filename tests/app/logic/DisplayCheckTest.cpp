#include "app/logic/DisplayCheck.h"

#include <gtest/gtest.h>

#include <ostream>

#include <map>
#include <string>

namespace addrix {
namespace {

struct DisplayCase {
    const char* name;
    std::map<std::string, std::string> env;
    bool expected; // on a desktop that needs an X or Wayland server
};

void PrintTo(const DisplayCase& c, std::ostream* os) {
    *os << c.name;
}

class HasDisplayTest : public ::testing::TestWithParam<DisplayCase> {};

TEST_P(HasDisplayTest, NeedsADisplayOrAChosenPlatform) {
    const auto& env = GetParam().env;
    const EnvLookup reader = [&env](const std::string& name) {
        const auto it = env.find(name);
        return it == env.end() ? std::string() : it->second;
    };
#if defined(_WIN32) || defined(__APPLE__)
    EXPECT_TRUE(HasDisplay(reader));
#else
    EXPECT_EQ(HasDisplay(reader), GetParam().expected);
#endif
}

INSTANTIATE_TEST_SUITE_P(
    Environments, HasDisplayTest,
    ::testing::Values(DisplayCase{"Nothing", {}, false},
                      DisplayCase{
                          "EmptyValues",
                          {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}},
                          false},
                      DisplayCase{"X", {{"DISPLAY", ":0"}}, true},
                      DisplayCase{"Wayland", {{"WAYLAND_DISPLAY", "wayland-0"}}, true},
                      DisplayCase{"Offscreen", {{"QT_QPA_PLATFORM", "offscreen"}}, true},
                      DisplayCase{"UnrelatedOnly", {{"HOME", "/root"}, {"TERM", "xterm"}}, false}),
    [](const ::testing::TestParamInfo<DisplayCase>& info) { return info.param.name; });

} // namespace
} // namespace addrix
