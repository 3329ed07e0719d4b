#pragma once

#include <QString>
#include <QStringList>

class QAccessibleInterface;
class QWidget;

// What a screen reader finds in a window, read through Qt's accessibility interfaces as the
// platform bridges (AT-SPI, UI Automation) read them.
namespace accessible_tree {

// One object a user can reach: its role and name as a screen reader announces them.
struct Item {
    QString role;  // e.g. "EditableText", "PushButton", "Link"
    QString name;
    QString path;  // object names from the window down, to find the widget in failures
};

// The controls of `window` in tree order: edit fields, lists, check boxes, buttons, links,
// pictures and the hotkey control. The rows inside a list, scroll bars and the frames of group
// boxes are not controls.
QList<Item> Controls(QWidget* window);

// The controls that have no name, one "role at path" line each.
QStringList Unnamed(QWidget* window);

// The accessible interface of `widget`'s first descendant (or itself) with this object name.
QAccessibleInterface* Find(QWidget* window, const QString& objectName);

}  // namespace accessible_tree
