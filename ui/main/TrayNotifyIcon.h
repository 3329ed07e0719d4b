#pragma once

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class QSystemTrayIcon;
class QWidget;

// The notification-area icon of the main window (wraps QSystemTrayIcon). A right-click opens the
// tray menu ("&s 显示" in bold as default, "&d 隐藏", separator, disabled signature line) at the
// cursor, a double-click sends the show command, anything else does nothing. The chosen command
// reaches the owner through commandChosen(id): 32771 = ShowMainWindow(true),
// 32772 = ShowMainWindow(false). Without a notification area Create returns false and the
// program runs on without the icon. The destructor removes the icon.
//
// Usage (main window start-up):
//   m_trayIcon.Create(this, tray::kTrayIconId, mainTitle, icon);
//   connect(&m_trayIcon, &CTrayNotifyIcon::commandChosen, this, &CTermixDlg::OnTrayCommand);
class CTrayNotifyIcon : public QObject {
    Q_OBJECT
public:
    explicit CTrayNotifyIcon(QObject* parent = nullptr);
    ~CTrayNotifyIcon() override;

    // Adds the icon with the given tooltip (the main title) and icon. Returns whether it was
    // added (false without a system tray); remembered in IsAdded().
    bool Create(QWidget* owner, int iconId, const QString& tooltip, const QIcon& icon);

    // The callback: `mouseMessage` is one of the tray::kWm... numbers. Does nothing when the
    // identifier is not this icon's or the menu cannot be built.
    void HandleTrayMessage(int iconId, unsigned mouseMessage);

    // Shows a notification of the icon, which waits for nobody; false without the icon (no
    // notification area).
    bool ShowMessage(const QString& title, const QString& text);

    // Removes the icon if it was added (the destructor calls it).
    void Remove();

    bool IsAdded() const { return m_bAdded; }
    // The menu shown last, or null; for tests.
    QMenu* GetOpenMenu() const { return m_openMenu; }

signals:
    void commandChosen(int commandId);

private:
    void OnActivated(int reason);
    std::unique_ptr<QMenu> BuildMenu() const;

    int m_iconId = 0;
    bool m_bAdded = false;
    std::unique_ptr<QSystemTrayIcon> m_icon;
    QPointer<QMenu> m_openMenu;
};
