#include "wizard/DisplayCheck.h"

namespace addrix {

namespace {

bool IsSet(const EnvLookup& env, const char* name) {
    return !env(name).empty();
}

} // namespace

bool HasDisplay(const EnvLookup& env) {
#if defined(_WIN32) || defined(__APPLE__)
    (void)env;
    return true;
#else
    return IsSet(env, "QT_QPA_PLATFORM") || IsSet(env, "DISPLAY") || IsSet(env, "WAYLAND_DISPLAY");
#endif
}

const char* NoDisplayMessage() {
    return "addrix: no display to open the wizard on (neither DISPLAY nor WAYLAND_DISPLAY is "
           "set).\n"
           "Run 'addrix --help' to export from the command line.\n";
}

} // namespace addrix
