#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>
#include <QWidget>

#include "../QtGTest.h"
#include "ui/main/TrayCallback.h"
#include "ui/main/TrayNotifyIcon.h"

// The tray icon's callback behaviour, driven through HandleTrayMessage with the mouse messages
// the notification area reports.
class TrayNotifyIconTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_owner = std::make_unique<QWidget>();
        m_icon = std::make_unique<CTrayNotifyIcon>();
        m_added =
            m_icon->Create(m_owner.get(), tray::kTrayIconId, QStringLiteral("Termix"), QIcon());
    }
    void TearDown() override {
        m_icon.reset();
        m_owner.reset();
    }

    std::unique_ptr<QWidget> m_owner;
    std::unique_ptr<CTrayNotifyIcon> m_icon;
    bool m_added = false;
};

TEST_F(TrayNotifyIconTest, WithoutANotificationAreaTheIconIsNotAddedAndNothingBreaks) {
    EXPECT_EQ(m_added, QSystemTrayIcon::isSystemTrayAvailable());
    EXPECT_EQ(m_icon->IsAdded(), m_added);
    m_icon->Remove();
    EXPECT_TRUE(!m_icon->IsAdded());
}

TEST_F(TrayNotifyIconTest, RightClickOpensTheTrayMenuWithShowAsBoldDefault) {
    m_icon->HandleTrayMessage(tray::kTrayIconId, tray::kWmRButtonUp);
    QMenu* menu = m_icon->GetOpenMenu();
    EXPECT_TRUE(menu != nullptr);
    TRY_EXPECT_TRUE(menu->isVisible());
    const QList<QAction*> actions = menu->actions();
    EXPECT_EQ(actions.size(), 4);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("&s 显示"));
    EXPECT_EQ(actions[0]->data().toInt(), tray::kCommandShow);
    EXPECT_TRUE(actions[0]->font().bold());
    EXPECT_EQ(menu->defaultAction(), actions[0]);
    EXPECT_EQ(actions[1]->text(), QStringLiteral("&d 隐藏"));
    EXPECT_EQ(actions[1]->data().toInt(), tray::kCommandHide);
    EXPECT_TRUE(!actions[1]->font().bold());
    EXPECT_TRUE(actions[2]->isSeparator());
    EXPECT_EQ(actions[3]->data().toInt(), tray::kCommandSignature);
    EXPECT_TRUE(!actions[3]->isEnabled());
    EXPECT_TRUE(!actions[3]->text().isEmpty());
}

TEST_F(TrayNotifyIconTest, ChoosingAMenuItemSendsItsCommand) {
    QSignalSpy spy(m_icon.get(), &CTrayNotifyIcon::commandChosen);
    m_icon->HandleTrayMessage(tray::kTrayIconId, tray::kWmRButtonUp);
    QPointer<QMenu> menu = m_icon->GetOpenMenu();
    EXPECT_TRUE(menu);
    menu->actions()[1]->trigger();
    EXPECT_EQ(spy.size(), 1);
    EXPECT_EQ(spy[0][0].toInt(), tray::kCommandHide);
    // A chosen or dismissed pop-up goes away with its menu.
    menu->close();
    TRY_EXPECT_TRUE(menu.isNull());
}

TEST_F(TrayNotifyIconTest, DoubleClickSendsShowWithoutAMenu) {
    QSignalSpy spy(m_icon.get(), &CTrayNotifyIcon::commandChosen);
    m_icon->HandleTrayMessage(tray::kTrayIconId, tray::kWmLButtonDblClk);
    EXPECT_EQ(spy.size(), 1);
    EXPECT_EQ(spy[0][0].toInt(), tray::kCommandShow);
    EXPECT_TRUE(m_icon->GetOpenMenu() == nullptr);
}

TEST_F(TrayNotifyIconTest, SingleClicksAndOtherIconsDoNothing) {
    QSignalSpy spy(m_icon.get(), &CTrayNotifyIcon::commandChosen);
    m_icon->HandleTrayMessage(tray::kTrayIconId, tray::kWmLButtonUp);
    m_icon->HandleTrayMessage(tray::kTrayIconId, tray::kWmMouseMove);
    m_icon->HandleTrayMessage(tray::kTrayIconId + 1, tray::kWmRButtonUp);
    m_icon->HandleTrayMessage(tray::kTrayIconId + 1, tray::kWmLButtonDblClk);
    EXPECT_EQ(spy.size(), 0);
    EXPECT_TRUE(m_icon->GetOpenMenu() == nullptr);
}

TEST_F(TrayNotifyIconTest, ASecondRightClickReplacesTheOpenMenu) {
    m_icon->HandleTrayMessage(tray::kTrayIconId, tray::kWmRButtonUp);
    QPointer<QMenu> first = m_icon->GetOpenMenu();
    m_icon->HandleTrayMessage(tray::kTrayIconId, tray::kWmRButtonUp);
    QPointer<QMenu> second = m_icon->GetOpenMenu();
    EXPECT_TRUE(second && second != first);
    TRY_EXPECT_TRUE(first.isNull());
    m_icon.reset();  // removing the icon closes its menu
    TRY_EXPECT_TRUE(second.isNull());
}
