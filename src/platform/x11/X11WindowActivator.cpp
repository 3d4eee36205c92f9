#include "platform/x11/X11WindowActivator.h"

#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace addrix {

namespace {

// Windows can vanish between two requests; such errors are counted, not fatal.
int g_errorCount = 0;

int CountError(Display*, XErrorEvent*) {
    ++g_errorCount;
    return 0;
}

class ErrorTrap {
public:
    ErrorTrap() : m_previous(XSetErrorHandler(CountError)) { g_errorCount = 0; }
    ~ErrorTrap() { XSetErrorHandler(m_previous); }
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

private:
    XErrorHandler m_previous;
};

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

// The raw bytes of a property of format 8 and type `type`.
std::optional<std::string> ReadText(Display* display, Window window, Atom property, Atom type) {
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, property, 0, 16384, False, type, &actualType, &format,
                           &count, &remaining, &data) != Success)
        return std::nullopt;
    std::optional<std::string> text;
    if (data && actualType == type && format == 8)
        text = std::string(reinterpret_cast<const char*>(data), count);
    if (data)
        XFree(data);
    return text;
}

// A property holding window ids (format 32, which Xlib hands over as longs).
std::optional<std::vector<Window>> ReadWindows(Display* display, Window window, Atom property) {
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, property, 0, 65536, False, XA_WINDOW, &actualType,
                           &format, &count, &remaining, &data) != Success)
        return std::nullopt;
    std::optional<std::vector<Window>> windows;
    if (data && actualType == XA_WINDOW && format == 32) {
        const auto* ids = reinterpret_cast<const unsigned long*>(data);
        windows = std::vector<Window>(ids, ids + count);
    }
    if (data)
        XFree(data);
    return windows;
}

std::string Latin1ToUtf8(const std::string& text) {
    std::string utf8;
    for (const unsigned char c : text) {
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else {
            utf8 += static_cast<char>(0xC0 | (c >> 6));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return utf8;
}

class Session {
public:
    explicit Session(Display* display)
        : m_display(display), m_root(DefaultRootWindow(display)),
          m_netWmName(XInternAtom(display, "_NET_WM_NAME", True)),
          m_utf8String(XInternAtom(display, "UTF8_STRING", True)) {}

    // The windows that a standards-following window manager manages, or
    // nothing when none is running.
    std::optional<std::vector<Window>> managedWindows() const {
        const Atom check = XInternAtom(m_display, "_NET_SUPPORTING_WM_CHECK", True);
        const Atom clientList = XInternAtom(m_display, "_NET_CLIENT_LIST", True);
        if (check == None || clientList == None)
            return std::nullopt;
        // A manager that died leaves its properties behind; its check window
        // then no longer points at itself.
        const auto wm = ReadWindows(m_display, m_root, check);
        if (!wm || wm->size() != 1)
            return std::nullopt;
        const auto self = ReadWindows(m_display, wm->front(), check);
        if (!self || self->size() != 1 || self->front() != wm->front())
            return std::nullopt;
        return ReadWindows(m_display, m_root, clientList);
    }

    // Viewable windows at the top of the tree and one level below (where a
    // manager without the standard list puts its clients).
    struct Candidate {
        Window client;
        Window topLevel;
    };
    std::vector<Candidate> viewableWindows() const {
        std::vector<Candidate> found;
        for (const Window top : children(m_root)) {
            if (!viewable(top))
                continue;
            found.push_back({top, top});
            for (const Window inner : children(top))
                if (viewable(inner))
                    found.push_back({inner, top});
        }
        return found;
    }

    std::string title(Window window) const {
        if (m_netWmName != None && m_utf8String != None) {
            if (auto text = ReadText(m_display, window, m_netWmName, m_utf8String))
                return *text;
        }
        std::string text;
        XTextProperty property{};
        if (XGetWMName(m_display, window, &property) && property.value) {
            const std::string raw(reinterpret_cast<const char*>(property.value), property.nitems);
            if (property.encoding == XA_STRING) {
                text = Latin1ToUtf8(raw);
            } else if (property.encoding == m_utf8String) {
                text = raw;
            } else {
                char** list = nullptr;
                int count = 0;
                if (Xutf8TextPropertyToTextList(m_display, &property, &list, &count) >= Success &&
                    list) {
                    if (count > 0 && list[0])
                        text = list[0];
                    XFreeStringList(list);
                }
            }
            XFree(property.value);
        }
        return text;
    }

    bool askManager(Window window) const {
        // Only errors of the request itself count, not those of windows that
        // vanished while the titles were read.
        XSync(m_display, False);
        g_errorCount = 0;
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(m_display, "_NET_ACTIVE_WINDOW", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = 2; // request from a pager: not taken as focus stealing
        event.xclient.data.l[1] = CurrentTime;
        event.xclient.data.l[2] = 0;
        XSendEvent(m_display, m_root, False, SubstructureRedirectMask | SubstructureNotifyMask,
                   &event);
        XSync(m_display, False);
        return g_errorCount == 0;
    }

    bool raiseAndFocus(const Candidate& candidate) const {
        XSync(m_display, False);
        g_errorCount = 0;
        XRaiseWindow(m_display, candidate.topLevel);
        XSetInputFocus(m_display, candidate.client, RevertToParent, CurrentTime);
        XSync(m_display, False);
        return g_errorCount == 0;
    }

private:
    std::vector<Window> children(Window window) const {
        Window root = 0;
        Window parent = 0;
        Window* list = nullptr;
        unsigned int count = 0;
        std::vector<Window> result;
        if (XQueryTree(m_display, window, &root, &parent, &list, &count) && list)
            result.assign(list, list + count);
        if (list)
            XFree(list);
        return result;
    }

    bool viewable(Window window) const {
        XWindowAttributes attributes{};
        return XGetWindowAttributes(m_display, window, &attributes) &&
               attributes.map_state == IsViewable;
    }

    Display* m_display;
    Window m_root;
    Atom m_netWmName;
    Atom m_utf8String;
};

// The index of the first exact title, else of the first that begins with it.
template <typename Item, typename TitleOf>
std::optional<std::size_t> FindTitle(const std::vector<Item>& items, const std::string& title,
                                     TitleOf titleOf) {
    std::optional<std::size_t> prefix;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string candidate = titleOf(items[i]);
        if (candidate == title)
            return i;
        if (!prefix && candidate.size() > title.size() &&
            candidate.compare(0, title.size(), title) == 0)
            prefix = i;
    }
    return prefix;
}

} // namespace

bool X11WindowActivator::activate(const std::string& title) {
    if (title.empty())
        return false;
    const char* name = m_displayName.empty() ? std::getenv("DISPLAY") : m_displayName.c_str();
    if (!name || !*name)
        return false;

    // The trap outlives the connection: closing it may still report errors.
    const ErrorTrap trap;
    const DisplayPtr display(XOpenDisplay(name));
    if (!display)
        return false;
    const Session session(display.get());

    if (const auto managed = session.managedWindows()) {
        const auto found =
            FindTitle(*managed, title, [&](Window window) { return session.title(window); });
        return found && session.askManager((*managed)[*found]);
    }
    const auto windows = session.viewableWindows();
    const auto found = FindTitle(windows, title, [&](const Session::Candidate& candidate) {
        return session.title(candidate.client);
    });
    return found && session.raiseAndFocus(windows[*found]);
}

} // namespace addrix
