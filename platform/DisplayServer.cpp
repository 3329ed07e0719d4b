#include "platform/DisplayServer.h"

#include <QByteArray>
#include <QtGlobal>

namespace platform {

bool PreferX11OnWayland() {
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
        !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        return false;
    }
    // Without an X server beside the compositor (no XWayland), forcing xcb would keep the program
    // from starting at all; it then runs natively without hotkey and window lookup.
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        return false;
    }
    return qputenv("QT_QPA_PLATFORM", QByteArray("xcb"));
}

bool IsWaylandSession() {
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           qgetenv("XDG_SESSION_TYPE") == QByteArrayLiteral("wayland");
}

}  // namespace platform
