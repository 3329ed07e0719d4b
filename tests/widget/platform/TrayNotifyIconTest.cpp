#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>
#include <QWidget>

#include "ui/main/TrayCallback.h"
#include "ui/main/TrayNotifyIcon.h"

// The tray icon's callback behaviour, driven through HandleTrayMessage with the mouse messages
// the notification area reports.
class TrayNotifyIconTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_owner = std::make_unique<QWidget>();
        m_icon = std::make_unique<CTrayNotifyIcon>();
        m_added =
            m_icon->Create(m_owner.get(), tray::kTrayIconId, QStringLiteral("Termix"), QIcon());
    }
    void cleanup() {
        m_icon.reset();
        m_owner.reset();
    }

    void withoutANotificationAreaTheIconIsNotAddedAndNothingBreaks() {
        QCOMPARE(m_added, QSystemTrayIcon::isSystemTrayAvailable());
        QCOMPARE(m_icon->IsAdded(), m_added);
        m_icon->Remove();
        QVERIFY(!m_icon->IsAdded());
    }

    void rightClickOpensTheTrayMenuWithShowAsBoldDefault() {
        QCOMPARE(m_icon->HandleTrayMessage(tray::kTrayIconId, tray::kWmRButtonUp), 1);
        QMenu* menu = m_icon->GetOpenMenu();
        QVERIFY(menu != nullptr);
        QTRY_VERIFY(menu->isVisible());
        const QList<QAction*> actions = menu->actions();
        QCOMPARE(actions.size(), 4);
        QCOMPARE(actions[0]->text(), QStringLiteral("&s 显示"));
        QCOMPARE(actions[0]->data().toInt(), tray::kCommandShow);
        QVERIFY(actions[0]->font().bold());
        QCOMPARE(menu->defaultAction(), actions[0]);
        QCOMPARE(actions[1]->text(), QStringLiteral("&d 隐藏"));
        QCOMPARE(actions[1]->data().toInt(), tray::kCommandHide);
        QVERIFY(!actions[1]->font().bold());
        QVERIFY(actions[2]->isSeparator());
        QCOMPARE(actions[3]->data().toInt(), tray::kCommandSignature);
        QVERIFY(!actions[3]->isEnabled());
        QVERIFY(!actions[3]->text().isEmpty());
    }

    void choosingAMenuItemSendsItsCommand() {
        QSignalSpy spy(m_icon.get(), &CTrayNotifyIcon::commandChosen);
        m_icon->HandleTrayMessage(tray::kTrayIconId, tray::kWmRButtonUp);
        QPointer<QMenu> menu = m_icon->GetOpenMenu();
        QVERIFY(menu);
        menu->actions()[1]->trigger();
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy[0][0].toInt(), tray::kCommandHide);
        // A chosen or dismissed pop-up goes away with its menu.
        menu->close();
        QTRY_VERIFY(menu.isNull());
    }

    void doubleClickSendsShowWithoutAMenu() {
        QSignalSpy spy(m_icon.get(), &CTrayNotifyIcon::commandChosen);
        QCOMPARE(m_icon->HandleTrayMessage(tray::kTrayIconId, tray::kWmLButtonDblClk), 1);
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy[0][0].toInt(), tray::kCommandShow);
        QVERIFY(m_icon->GetOpenMenu() == nullptr);
    }

    void singleClicksAndOtherIconsDoNothing() {
        QSignalSpy spy(m_icon.get(), &CTrayNotifyIcon::commandChosen);
        QCOMPARE(m_icon->HandleTrayMessage(tray::kTrayIconId, tray::kWmLButtonUp), 1);
        QCOMPARE(m_icon->HandleTrayMessage(tray::kTrayIconId, tray::kWmMouseMove), 1);
        QCOMPARE(m_icon->HandleTrayMessage(tray::kTrayIconId + 1, tray::kWmRButtonUp), 0);
        QCOMPARE(m_icon->HandleTrayMessage(tray::kTrayIconId + 1, tray::kWmLButtonDblClk), 0);
        QCOMPARE(spy.size(), 0);
        QVERIFY(m_icon->GetOpenMenu() == nullptr);
    }

    void aSecondRightClickReplacesTheOpenMenu() {
        m_icon->HandleTrayMessage(tray::kTrayIconId, tray::kWmRButtonUp);
        QPointer<QMenu> first = m_icon->GetOpenMenu();
        m_icon->HandleTrayMessage(tray::kTrayIconId, tray::kWmRButtonUp);
        QPointer<QMenu> second = m_icon->GetOpenMenu();
        QVERIFY(second && second != first);
        QTRY_VERIFY(first.isNull());
        m_icon.reset();  // removing the icon closes its menu
        QTRY_VERIFY(second.isNull());
    }

private:
    std::unique_ptr<QWidget> m_owner;
    std::unique_ptr<CTrayNotifyIcon> m_icon;
    bool m_added = false;
};

QTEST_MAIN(TrayNotifyIconTest)
#include "TrayNotifyIconTest.moc"
