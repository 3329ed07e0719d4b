#pragma once

#include <QAccessibleWidget>

class CLinkLabel;

// What a screen reader finds in a CLinkLabel: a link named by its text, with the address as
// its value and description, and one action that follows the link as a click does.
class CLinkLabelAccessible : public QAccessibleWidget {
public:
    explicit CLinkLabelAccessible(CLinkLabel* label);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

    // Makes every CLinkLabel use this interface; called once by the first label.
    static void Install();

private:
    CLinkLabel* Label() const;
};
