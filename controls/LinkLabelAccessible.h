#pragma once

#include <QAccessibleWidget>

class QLabel;

// What a screen reader finds in a link label: a link named by its text, with the label's
// "address" property as its value and description, traversed once its "opened" property is
// true, and one action that calls its Open() as a click does.
class CLinkLabelAccessible : public QAccessibleWidget {
public:
    explicit CLinkLabelAccessible(QLabel* label);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

private:
    QLabel* Label() const;
};
