#pragma once

#include <xcb/xcb.h>

#include <initializer_list>
#include <optional>
#include <vector>

// The X connection of the running QApplication (xcb platform), for the pieces that talk to the X
// server next to Qt: key grabs, window properties, client messages.
namespace platform::x11 {

struct QtConnection {
    xcb_connection_t* connection;
    xcb_window_t root;
};

// Empty when the application does not run on X11 (offscreen, Wayland) or no QGuiApplication exists.
std::optional<QtConnection> GetQtConnection();

// The atom of `name`, created if needed; XCB_ATOM_NONE on failure.
xcb_atom_t InternAtom(xcb_connection_t* connection, const char* name);

// The atoms of all `names`, in their order, asked for together: one wait for the X server
// instead of one per atom.
std::vector<xcb_atom_t> InternAtoms(xcb_connection_t* connection,
                                    std::initializer_list<const char*> names);

// Sends the EWMH request to activate `window` (restore, raise, focus) to the window manager, as a
// pager would (source indication 2), which window managers honour without timestamp checks.
void SendNetActiveWindow(xcb_connection_t* connection, xcb_window_t root, xcb_window_t window);

}  // namespace platform::x11
