#include "wizard/DisplayCheck.h"

namespace addrix {

bool HasDisplay(const EnvLookup& env) {
#if defined(_WIN32) || defined(__APPLE__)
    // The system's own desktop is always there.
    (void)env;
    return true;
#else
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        if (!env(name).empty())
            return true;
    }
    return false;
#endif
}

const char* NoDisplayMessage() {
    return "addrix: no display to open the wizard on (neither DISPLAY nor WAYLAND_DISPLAY is "
           "set).\n"
           "Run 'addrix --help' to export from the command line.\n";
}

} // namespace addrix
