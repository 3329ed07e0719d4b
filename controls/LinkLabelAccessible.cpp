#include "controls/LinkLabelAccessible.h"

#include <QLabel>
#include <QMetaObject>

CLinkLabelAccessible::CLinkLabelAccessible(QLabel* label)
    : QAccessibleWidget(label, QAccessible::Link) {}

QLabel* CLinkLabelAccessible::Label() const {
    return static_cast<QLabel*>(widget());
}

QString CLinkLabelAccessible::text(QAccessible::Text t) const {
    switch (t) {
        case QAccessible::Name: {
            const QString name = widget()->accessibleName();
            return name.isEmpty() ? Label()->text() : name;
        }
        case QAccessible::Value:
        case QAccessible::Description:
            return Label()->property("address").toString();
        default:
            return QAccessibleWidget::text(t);
    }
}

QAccessible::State CLinkLabelAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.linked = true;
    state.traversed = Label()->property("opened").toBool();
    return state;
}

QStringList CLinkLabelAccessible::actionNames() const {
    return QStringList{pressAction()} + QAccessibleWidget::actionNames();
}

void CLinkLabelAccessible::doAction(const QString& actionName) {
    if (actionName != pressAction()) {
        QAccessibleWidget::doAction(actionName);
        return;
    }
    // Queued, as a click arrives: the bridge's call returns before any message box opens.
    QMetaObject::invokeMethod(Label(), "Open", Qt::QueuedConnection);
}
