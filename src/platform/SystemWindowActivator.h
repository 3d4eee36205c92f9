#pragma once

#include "platform/IShell.h"

namespace addrix {

// Activates a window the way the running system allows: the system call on
// Windows, the X11 display elsewhere (XWayland included). Where neither is
// available (no display, macOS) activation reports failure, so the caller
// starts the program instead.
class SystemWindowActivator final : public IWindowActivator {
public:
    bool activate(const std::string& title) override;
};

} // namespace addrix
