#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <string>

#include "controls/MessageBox.h"
#include "util/GbkText.h"

namespace {

// Shows `gbkText` in the real box and hands the open box to `inspect`, which closes it.
void WithOpenBox(const std::string& gbkText, const std::function<void(QMessageBox&)>& inspect) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = true;
        inspect(*box);
        box->done(0);
    });
    ShowMessageBox(gbkText);
    EXPECT_TRUE(seen);
}

}  // namespace

TEST(MessageBox, TheButtonIsChineseAndLongTextsKeepAMarginOnTheRight) {
    std::string text = "术语已经存在，不能增加同样的术语!\n\n术语: UML\n汉意: 统一建模语言\n解释: ";
    for (int i = 0; i < 12; ++i) {
        text += "一种用于对软件密集系统进行可视化建模的语言";
    }
    WithOpenBox(gbk::FromUtf8(text), [](QMessageBox& box) {
        const QList<QAbstractButton*> buttons = box.buttons();
        ASSERT_EQ(buttons.size(), 1);
        EXPECT_EQ(buttons.front()->text(), QString::fromUtf8("确定"));
        const QLabel* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        ASSERT_NE(label, nullptr);
        EXPECT_GE(box.width() - label->geometry().right(), 10);
        EXPECT_GE(label->geometry().left(), 10);
    });
}

TEST(MessageBox, TheBoxThatDoesNotWaitReturnsAtOnceAndGoesWhenClosed) {
    ShowMessageBoxWithoutWaiting(gbk::FromUtf8("请在桌面的键盘设置中添加一个自定义快捷键"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    QPointer<QMessageBox> box;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* shown = qobject_cast<QMessageBox*>(widget); shown && shown->isVisible()) {
            box = shown;
        }
    }
    ASSERT_FALSE(box.isNull());
    EXPECT_EQ(box->text(), QString::fromUtf8("请在桌面的键盘设置中添加一个自定义快捷键"));
    EXPECT_EQ(box->buttons().front()->text(), QString::fromUtf8("确定"));
    box->buttons().front()->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(box.isNull());
}
