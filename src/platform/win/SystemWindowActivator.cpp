#include "platform/SystemWindowActivator.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace addrix {

namespace {

struct PrefixSearch {
    const std::string* title;
    HWND found;
};

BOOL CALLBACK MatchPrefix(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<PrefixSearch*>(context);
    if (!IsWindowVisible(window))
        return TRUE;
    char text[512] = {};
    const int length = GetWindowTextA(window, text, static_cast<int>(sizeof text));
    if (length > 0 && std::string(text, static_cast<std::size_t>(length))
                              .compare(0, search->title->size(), *search->title) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

bool SystemWindowActivator::activate(const std::string& title) {
    if (title.empty())
        return false;
    HWND window = FindWindowA(nullptr, title.c_str());
    if (!window) {
        PrefixSearch search{&title, nullptr};
        EnumWindows(MatchPrefix, reinterpret_cast<LPARAM>(&search));
        window = search.found;
    }
    if (!window)
        return false;
    if (IsIconic(window))
        ShowWindow(window, SW_RESTORE);
    return SetForegroundWindow(window) != 0;
}

} // namespace addrix
