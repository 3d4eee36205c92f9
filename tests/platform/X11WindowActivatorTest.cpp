#include "platform/X11WindowActivator.h"
#include "platform/qt/SystemWindowActivator.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace addrix {
namespace {

// Unsets DISPLAY (and WAYLAND_DISPLAY) for one test and puts them back.
class NoDisplay {
public:
    NoDisplay() : m_display(Take("DISPLAY")), m_wayland(Take("WAYLAND_DISPLAY")) {}
    ~NoDisplay() {
        Restore("DISPLAY", m_display);
        Restore("WAYLAND_DISPLAY", m_wayland);
    }

private:
    static std::optional<std::string> Take(const char* name) {
        const char* value = std::getenv(name);
        std::optional<std::string> saved;
        if (value)
            saved = value;
        unsetenv(name);
        return saved;
    }
    static void Restore(const char* name, const std::optional<std::string>& value) {
        if (value)
            setenv(name, value->c_str(), 1);
    }
    std::optional<std::string> m_display;
    std::optional<std::string> m_wayland;
};

TEST(X11WindowActivator, FailsWithoutADisplay) {
    const NoDisplay noDisplay;
    EXPECT_FALSE(X11WindowActivator().activate("Norvik Manager"));
    EXPECT_FALSE(SystemWindowActivator().activate("Norvik Manager"));
}

TEST(X11WindowActivator, FailsWhenTheDisplayCannotBeReached) {
    EXPECT_FALSE(X11WindowActivator(":977").activate("Norvik Manager"));
}

} // namespace
} // namespace addrix
