#pragma once

#include <string>

namespace addrix {

// Starting programs and opening documents.
class IShell {
public:
    virtual ~IShell() = default;
    // Opens `path` with its associated program ("open"); false when that failed.
    virtual bool openDocument(const std::string& path) = 0;
    // Starts the program at `path` without arguments and without waiting for
    // it. False, with `error` describing why, when it cannot be started (no
    // such file, empty path, not a program).
    virtual bool startProgram(const std::string& path, std::string& error) = 0;
};

// Bringing another program's window to the front.
class IWindowActivator {
public:
    virtual ~IWindowActivator() = default;
    // Activates the top-level window titled exactly `title` (or, failing
    // that, one whose title begins with it). False when there is none or the
    // system offers no way to activate it.
    virtual bool activate(const std::string& title) = 0;
};

} // namespace addrix
