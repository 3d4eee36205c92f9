#include "platform/SystemWindowActivator.h"

#include "platform/win/WindowsApi.h"

namespace addrix {

namespace {

// The visible top-level window titled `title`, or else the first whose title
// begins with it. A hidden window is no running program to the user.
struct TitleSearch {
    const std::string* title;
    HWND exact = nullptr;
    HWND prefix = nullptr;
};

BOOL CALLBACK MatchTitle(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<TitleSearch*>(context);
    if (!IsWindowVisible(window))
        return TRUE;
    char text[512] = {};
    const int length = GetWindowTextA(window, text, static_cast<int>(sizeof text));
    if (length <= 0)
        return TRUE;
    const std::string name(text, static_cast<std::size_t>(length));
    if (name == *search->title) {
        search->exact = window;
        return FALSE;
    }
    if (!search->prefix && name.compare(0, search->title->size(), *search->title) == 0)
        search->prefix = window;
    return TRUE;
}

} // namespace

bool SystemWindowActivator::activate(const std::string& title) {
    if (title.empty())
        return false;
    TitleSearch search{&title};
    EnumWindows(MatchTitle, reinterpret_cast<LPARAM>(&search));
    HWND window = search.exact ? search.exact : search.prefix;
    if (!window)
        return false;
    if (IsIconic(window))
        ShowWindow(window, SW_RESTORE);
    return SetForegroundWindow(window) != 0;
}

} // namespace addrix
