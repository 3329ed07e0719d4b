#include <QDBusConnection>

#include "logging/LogCategories.h"
#include "platform/DisplayServer.h"
#include "platform/GlobalHotkey.h"
#include "platform/portal/GlobalHotkeyPortal.h"
#include "platform/x11/GlobalHotkeyX11.h"

namespace platform {

std::unique_ptr<IGlobalHotkey> CreateGlobalHotkey(QObject* parent) {
    if (!IsWaylandSession()) {
        return std::make_unique<x11::CGlobalHotkeyX11>(parent);
    }
    // On Wayland an X11 grab (through XWayland) fires only while an X11 window has the focus:
    // the portal's shortcut works everywhere, where a portal offers it.
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (portal::CGlobalHotkeyPortal::IsOffered(bus)) {
        qCInfo(lcPlatform) << "global hotkey through the GlobalShortcuts portal";
        return std::make_unique<portal::CGlobalHotkeyPortal>(bus, parent);
    }
    return std::make_unique<x11::CGlobalHotkeyX11>(parent, false);
}

}  // namespace platform
