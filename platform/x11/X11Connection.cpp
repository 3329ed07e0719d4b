#include "platform/x11/X11Connection.h"

#include <QGuiApplication>
#include <cstdlib>
#include <cstring>

// After the Qt headers: Xlib defines macros (None, Bool, Status) that Qt headers also use.
#include <X11/Xlib.h>

namespace platform::x11 {

std::optional<QtConnection> GetQtConnection() {
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (app == nullptr) {
        return std::nullopt;
    }
    auto* native = app->nativeInterface<QNativeInterface::QX11Application>();
    if (native == nullptr || native->connection() == nullptr) {
        return std::nullopt;
    }
    xcb_connection_t* connection = native->connection();
    // Qt opens the display's default screen; its root is the grab and message target.
    const xcb_setup_t* setup = xcb_get_setup(connection);
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(setup);
    if (screens.rem == 0) {
        return std::nullopt;
    }
    xcb_window_t root = screens.data->root;
    if (Display* display = native->display()) {
        root = static_cast<xcb_window_t>(DefaultRootWindow(display));
    }
    return QtConnection{connection, root};
}

xcb_atom_t InternAtom(xcb_connection_t* connection, const char* name) {
    return InternAtoms(connection, {name}).front();
}

std::vector<xcb_atom_t> InternAtoms(xcb_connection_t* connection,
                                    std::initializer_list<const char*> names) {
    std::vector<xcb_intern_atom_cookie_t> cookies;
    cookies.reserve(names.size());
    for (const char* name : names) {
        cookies.push_back(
            xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name));
    }
    std::vector<xcb_atom_t> atoms;
    atoms.reserve(cookies.size());
    for (const xcb_intern_atom_cookie_t cookie : cookies) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
        atoms.push_back(reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE});
        std::free(reply);
    }
    return atoms;
}

void SendNetActiveWindow(xcb_connection_t* connection, xcb_window_t root, xcb_window_t window) {
    const xcb_atom_t netActive = InternAtom(connection, "_NET_ACTIVE_WINDOW");
    if (netActive == XCB_ATOM_NONE) {
        return;
    }
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = netActive;
    event.data.data32[0] = 2;  // source: pager
    event.data.data32[1] = XCB_CURRENT_TIME;
    event.data.data32[2] = XCB_NONE;
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(connection);
}

}  // namespace platform::x11
