#include <QString>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "logging/LogCategories.h"
#include "platform/WindowActivation.h"
#include "platform/x11/ShowRequestProtocol.h"
#include "platform/x11/X11Connection.h"

namespace platform {
namespace {

constexpr int kMaxDepth = 64;
constexpr xcb_window_t kNoWindow = XCB_WINDOW_NONE;

struct Atoms {
    xcb_atom_t netWmName;
    xcb_atom_t utf8String;
    xcb_atom_t marker;
    xcb_atom_t show;
};

// The property's raw bytes and type; empty when the window does not have it.
struct Property {
    xcb_atom_t type;
    std::string bytes;
};

std::optional<Property> ReadProperty(xcb_connection_t* connection, xcb_window_t window,
                                     xcb_atom_t property) {
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 4096),
        nullptr);
    std::optional<Property> result;
    if (reply != nullptr && reply->type != XCB_ATOM_NONE) {
        const auto* data = static_cast<const char*>(xcb_get_property_value(reply));
        const int length = xcb_get_property_value_length(reply);
        result = Property{reply->type, std::string(data, static_cast<size_t>(length))};
    }
    std::free(reply);
    return result;
}

// The window's title in UTF-8: _NET_WM_NAME, else WM_NAME (UTF8_STRING, or Latin-1 STRING).
std::optional<std::string> ReadTitle(xcb_connection_t* connection, xcb_window_t window,
                                     const Atoms& atoms) {
    if (auto name = ReadProperty(connection, window, atoms.netWmName);
        name && name->type == atoms.utf8String) {
        return name->bytes;
    }
    auto name = ReadProperty(connection, window, XCB_ATOM_WM_NAME);
    if (!name) {
        return std::nullopt;
    }
    if (name->type == atoms.utf8String) {
        return name->bytes;
    }
    return QString::fromLatin1(name->bytes.data(), static_cast<qsizetype>(name->bytes.size()))
        .toStdString();
}

// Children bottom to top, as the server stacks them.
std::vector<xcb_window_t> Children(xcb_connection_t* connection, xcb_window_t window) {
    std::vector<xcb_window_t> result;
    xcb_query_tree_reply_t* reply =
        xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr);
    if (reply != nullptr) {
        const xcb_window_t* children = xcb_query_tree_children(reply);
        result.assign(children, children + xcb_query_tree_children_length(reply));
        std::free(reply);
    }
    return result;
}

// Searches the subtree of `window`, deepest windows first, so that an application's window is
// preferred to a window manager frame that repeats its title.
xcb_window_t FindInSubtree(xcb_connection_t* connection, xcb_window_t window,
                           const std::string& title, const Atoms& atoms, int depth) {
    if (depth > kMaxDepth) {
        return kNoWindow;
    }
    const std::vector<xcb_window_t> children = Children(connection, window);
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        if (const xcb_window_t found = FindInSubtree(connection, *it, title, atoms, depth + 1)) {
            return found;
        }
    }
    const std::optional<std::string> name = ReadTitle(connection, window, atoms);
    return name && *name == title ? window : kNoWindow;
}

void SendShowRequest(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t show) {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = show;
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&event));
}

// A withdrawn window of another program is mapped again and raised, as SW_RESTORE would.
void RestoreIfUnmapped(xcb_connection_t* connection, xcb_window_t window) {
    xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, window), nullptr);
    if (attributes != nullptr && attributes->map_state == XCB_MAP_STATE_UNMAPPED &&
        attributes->override_redirect == 0) {
        const std::uint32_t above = XCB_STACK_MODE_ABOVE;
        xcb_configure_window(connection, window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
        xcb_map_window(connection, window);
    }
    std::free(attributes);
}

}  // namespace

bool ActivateExistingWindow(const std::string& titleUtf8) {
    const auto x = x11::GetQtConnection();
    if (!x) {
        qCWarning(lcPlatform) << "no X11 connection: the running copy cannot be brought forward";
        return false;
    }
    xcb_connection_t* connection = x->connection;
    const std::vector<xcb_atom_t> interned = x11::InternAtoms(
        connection, {"_NET_WM_NAME", "UTF8_STRING", x11::kMarkerProperty, x11::kShowMessage});
    const Atoms atoms{interned[0], interned[1], interned[2], interned[3]};
    // The matching window highest in the stacking order, as FindWindow would return it.
    xcb_window_t window = kNoWindow;
    const std::vector<xcb_window_t> topLevel = Children(connection, x->root);
    for (auto it = topLevel.rbegin(); it != topLevel.rend() && window == kNoWindow; ++it) {
        window = FindInSubtree(connection, *it, titleUtf8, atoms, 1);
    }
    if (window == kNoWindow) {
        qCWarning(lcPlatform) << "no window titled" << QString::fromStdString(titleUtf8);
        return false;
    }
    if (ReadProperty(connection, window, atoms.marker)) {
        // Our own copy shows itself; mapping its hidden window from here would leave Qt
        // believing it is still hidden.
        SendShowRequest(connection, window, atoms.show);
        xcb_flush(connection);
    } else {
        // Another program's window: restore it and let the window manager raise and focus it.
        RestoreIfUnmapped(connection, window);
        x11::SendNetActiveWindow(connection, x->root, window);
    }
    return true;
}

}  // namespace platform
