#pragma once

#include <QDBusArgument>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariantMap>

namespace platform::portal {

// One entry of the portal's shortcut lists (D-Bus type (sa{sv})): an id chosen by the program and
// properties such as "description", "preferred_trigger" and, in answers, "trigger_description".
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};

// Makes PortalShortcut and lists of it marshallable; call before the first D-Bus use.
void RegisterPortalShortcutType();

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut);
const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut);

}  // namespace platform::portal

Q_DECLARE_METATYPE(platform::portal::PortalShortcut)
