#include "controls/LinkLabelAccessible.h"

#include <QMetaObject>

#include "controls/LinkLabel.h"

namespace {

QAccessibleInterface* MakeLinkInterface(const QString& className, QObject* object) {
    if (className == QLatin1String(CLinkLabel::staticMetaObject.className())) {
        if (auto* label = qobject_cast<CLinkLabel*>(object)) {
            return new CLinkLabelAccessible(label);
        }
    }
    return nullptr;
}

}  // namespace

CLinkLabelAccessible::CLinkLabelAccessible(CLinkLabel* label)
    : QAccessibleWidget(label, QAccessible::Link) {}

CLinkLabel* CLinkLabelAccessible::Label() const {
    return static_cast<CLinkLabel*>(widget());
}

QString CLinkLabelAccessible::text(QAccessible::Text t) const {
    switch (t) {
        case QAccessible::Name: {
            const QString name = widget()->accessibleName();
            return name.isEmpty() ? Label()->text() : name;
        }
        case QAccessible::Value:
        case QAccessible::Description:
            return Label()->Address();
        default:
            return QAccessibleWidget::text(t);
    }
}

QAccessible::State CLinkLabelAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.linked = true;
    state.traversed = Label()->IsOpened();
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
    QMetaObject::invokeMethod(Label(), &CLinkLabel::Open, Qt::QueuedConnection);
}

void CLinkLabelAccessible::Install() {
    static const bool installed = [] {
        QAccessible::installFactory(&MakeLinkInterface);
        return true;
    }();
    static_cast<void>(installed);
}
