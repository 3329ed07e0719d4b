#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/WindowActivation.h"
#include "platform/x11/ShowRequestProtocol.h"

namespace platform {
namespace {

struct Atoms {
    Atom netWmName;
    Atom utf8String;
    Atom marker;
    Atom show;
    Atom netActiveWindow;
};

// The raw bytes of a property of 8-bit format and the given type; empty optional when absent.
std::optional<std::string> ReadStringProperty(Display* display, Window window, Atom property,
                                              Atom type) {
    Atom actualType = 0;
    int actualFormat = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, property, 0, 4096, False, type, &actualType,
                           &actualFormat, &count, &remaining, &data) != Success) {
        return std::nullopt;
    }
    std::optional<std::string> result;
    if (actualType == type && actualFormat == 8 && data != nullptr) {
        result.emplace(reinterpret_cast<const char*>(data), count);
    }
    if (data != nullptr) {
        XFree(data);
    }
    return result;
}

bool HasProperty(Display* display, Window window, Atom property) {
    Atom actualType = 0;
    int actualFormat = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, window, property, 0, 1, False, AnyPropertyType,
                                          &actualType, &actualFormat, &count, &remaining, &data);
    if (data != nullptr) {
        XFree(data);
    }
    return status == Success && actualType != None;
}

// The window's title in UTF-8: _NET_WM_NAME, else WM_NAME in whatever encoding it was set
// (Latin-1 STRING, COMPOUND_TEXT or UTF8_STRING).
std::optional<std::string> ReadTitle(Display* display, Window window, const Atoms& atoms) {
    if (auto name = ReadStringProperty(display, window, atoms.netWmName, atoms.utf8String)) {
        return name;
    }
    XTextProperty text{};
    if (XGetWMName(display, window, &text) == 0 || text.value == nullptr) {
        return std::nullopt;
    }
    std::optional<std::string> result;
    char** list = nullptr;
    int count = 0;
    if (Xutf8TextPropertyToTextList(display, &text, &list, &count) >= Success && count > 0 &&
        list != nullptr) {
        result.emplace(list[0]);
    }
    if (list != nullptr) {
        XFreeStringList(list);
    }
    XFree(text.value);
    return result;
}

std::vector<Window> Children(Display* display, Window window) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    std::vector<Window> result;
    if (XQueryTree(display, window, &root, &parent, &children, &count) != 0 &&
        children != nullptr) {
        result.assign(children, children + count);
    }
    if (children != nullptr) {
        XFree(children);
    }
    return result;
}

// Searches the subtree of `window`, deepest windows first, so that an application's window is
// preferred to a window manager frame that repeats its title.
Window FindInSubtree(Display* display, Window window, const std::string& title, const Atoms& atoms,
                     int depth) {
    if (depth > 64) {
        return 0;
    }
    const std::vector<Window> children = Children(display, window);
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        if (const Window found = FindInSubtree(display, *it, title, atoms, depth + 1)) {
            return found;
        }
    }
    const std::optional<std::string> name = ReadTitle(display, window, atoms);
    return name && *name == title ? window : 0;
}

// The matching window highest in the stacking order, as FindWindow would return it.
Window FindWindowByTitle(Display* display, const std::string& title, const Atoms& atoms) {
    const Window root = DefaultRootWindow(display);
    const std::vector<Window> topLevel = Children(display, root);
    // XQueryTree lists children bottom to top.
    for (auto it = topLevel.rbegin(); it != topLevel.rend(); ++it) {
        if (const Window found = FindInSubtree(display, *it, title, atoms, 1)) {
            return found;
        }
    }
    return 0;
}

void SendClientMessage(Display* display, Window target, Window window, Atom type, long mask,
                       long data0) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = type;
    event.xclient.format = 32;
    event.xclient.data.l[0] = data0;
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, target, False, mask, &event);
}

}  // namespace

bool ActivateExistingWindow(const std::string& titleUtf8) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return false;
    }
    const Atoms atoms{
        XInternAtom(display, "_NET_WM_NAME", False),
        XInternAtom(display, "UTF8_STRING", False),
        XInternAtom(display, x11::kMarkerProperty, False),
        XInternAtom(display, x11::kShowMessage, False),
        XInternAtom(display, "_NET_ACTIVE_WINDOW", False),
    };
    const Window window = FindWindowByTitle(display, titleUtf8, atoms);
    if (window != 0) {
        if (HasProperty(display, window, atoms.marker)) {
            // Our own copy shows itself; mapping its hidden window from here would leave Qt
            // believing it is still hidden.
            SendClientMessage(display, window, window, atoms.show, NoEventMask, 0);
        } else {
            // Another program's window: restore it (a withdrawn window is mapped again, as
            // SW_RESTORE would) and let the window manager raise and focus it.
            XWindowAttributes attributes{};
            if (XGetWindowAttributes(display, window, &attributes) != 0 &&
                attributes.map_state == IsUnmapped && !attributes.override_redirect) {
                XMapRaised(display, window);
            }
            SendClientMessage(display, DefaultRootWindow(display), window, atoms.netActiveWindow,
                              SubstructureRedirectMask | SubstructureNotifyMask, 2);
        }
        XSync(display, False);
    }
    XCloseDisplay(display);
    return window != 0;
}

}  // namespace platform
