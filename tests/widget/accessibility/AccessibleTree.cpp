#include "AccessibleTree.h"

#include <QAccessible>
#include <QKeySequenceEdit>
#include <QMetaEnum>
#include <QWidget>

namespace accessible_tree {

namespace {

QString RoleName(QAccessible::Role role) {
    const QMetaEnum roles = QMetaEnum::fromType<QAccessible::Role>();
    const char* key = roles.valueToKey(role);
    return key != nullptr ? QString::fromLatin1(key) : QString::number(role);
}

bool IsHotkeyControl(QAccessibleInterface* item) {
    QObject* object = item->object();
    return object != nullptr && (qobject_cast<QKeySequenceEdit*>(object) != nullptr ||
                                 qobject_cast<QKeySequenceEdit*>(object->parent()) != nullptr);
}

bool IsControl(QAccessibleInterface* item) {
    switch (item->role()) {
        case QAccessible::EditableText:
        case QAccessible::PushButton:
        case QAccessible::CheckBox:
        case QAccessible::RadioButton:
        case QAccessible::ComboBox:
        case QAccessible::List:
        case QAccessible::Table:
        case QAccessible::Tree:
        case QAccessible::Link:
        case QAccessible::Graphic:
            return true;
        default:
            return IsHotkeyControl(item);
    }
}

// Lists hold rows, which the list itself makes readable.
bool HoldsRows(QAccessibleInterface* item) {
    const QAccessible::Role role = item->role();
    return role == QAccessible::List || role == QAccessible::Table || role == QAccessible::Tree;
}

QString PathOf(QAccessibleInterface* item) {
    QStringList names;
    for (QObject* object = item->object(); object != nullptr; object = object->parent()) {
        const QString name = object->objectName();
        names.prepend(name.isEmpty() ? QString::fromLatin1(object->metaObject()->className())
                                     : name);
        if (object->isWidgetType() && static_cast<QWidget*>(object)->isWindow()) {
            break;
        }
    }
    return names.join(QLatin1Char('/'));
}

void Collect(QAccessibleInterface* item, QList<Item>& out) {
    if (IsControl(item)) {
        out.append(Item{RoleName(item->role()), item->text(QAccessible::Name), PathOf(item)});
    }
    if (HoldsRows(item)) {
        return;
    }
    for (int i = 0; i < item->childCount(); ++i) {
        if (QAccessibleInterface* child = item->child(i)) {
            Collect(child, out);
        }
    }
}

}  // namespace

QList<Item> Controls(QWidget* window) {
    QList<Item> out;
    if (QAccessibleInterface* root = QAccessible::queryAccessibleInterface(window)) {
        Collect(root, out);
    }
    return out;
}

QStringList Unnamed(QWidget* window) {
    QStringList lines;
    for (const Item& item : Controls(window)) {
        if (item.name.trimmed().isEmpty()) {
            lines.append(item.role + QStringLiteral(" at ") + item.path);
        }
    }
    return lines;
}

QAccessibleInterface* Find(QWidget* window, const QString& objectName) {
    QWidget* widget =
        window->objectName() == objectName ? window : window->findChild<QWidget*>(objectName);
    return widget != nullptr ? QAccessible::queryAccessibleInterface(widget) : nullptr;
}

}  // namespace accessible_tree
