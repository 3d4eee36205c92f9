#pragma once

#include "platform/IShell.h"

#include <string>

namespace addrix {

// Activates another program's window on an X11 display, through its own
// connection: with a window manager by asking it (_NET_ACTIVE_WINDOW), with
// none by raising and focusing the window itself. Titles are compared as
// UTF-8, exact match first, then prefix.
class X11WindowActivator final : public IWindowActivator {
public:
    // `displayName` empty: the display that $DISPLAY names.
    explicit X11WindowActivator(std::string displayName = {})
        : m_displayName(std::move(displayName)) {}
    // False when there is no display, no such window, or the server refused.
    bool activate(const std::string& title) override;

private:
    std::string m_displayName;
};

} // namespace addrix
