#include "ui/main/TrayNotifyIcon.h"

#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>
#include <stdexcept>

#include "logging/LogCategories.h"
#include "ui/main/TrayCallback.h"
#include "ui/main/TrayMenu.h"

namespace {

// The mouse message the notification area would have sent for a Qt activation.
unsigned MouseMessageFor(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
        case QSystemTrayIcon::Context:
            return tray::kWmRButtonUp;
        case QSystemTrayIcon::DoubleClick:
            return tray::kWmLButtonDblClk;
        case QSystemTrayIcon::Trigger:
            return tray::kWmLButtonUp;
        case QSystemTrayIcon::MiddleClick:
            return tray::kWmMButtonUp;
        case QSystemTrayIcon::Unknown:
            break;
    }
    return tray::kWmMouseMove;
}

}  // namespace

CTrayNotifyIcon::CTrayNotifyIcon(QObject* parent) : QObject(parent) {}

CTrayNotifyIcon::~CTrayNotifyIcon() {
    Remove();
}

bool CTrayNotifyIcon::Create(QWidget* owner, int iconId, const QString& tooltip,
                             const QIcon& icon) {
    // The owner is not brought forward for the pop-up as on Windows: Qt's pop-up grabs the
    // pointer itself, and activating a hidden owner would make the window manager map it.
    Q_UNUSED(owner);
    m_iconId = iconId;
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        qCWarning(lcPlatform) << "no notification area: the program runs without its tray icon";
        m_bAdded = false;
        return false;
    }
    m_icon = std::make_unique<QSystemTrayIcon>(icon);
    m_icon->setToolTip(tooltip);
    connect(m_icon.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { OnActivated(reason); });
    m_icon->show();
    m_bAdded = m_icon->isVisible();
    if (!m_bAdded) {
        m_icon.reset();
    }
    return m_bAdded;
}

void CTrayNotifyIcon::OnActivated(int reason) {
    HandleTrayMessage(m_iconId,
                      MouseMessageFor(static_cast<QSystemTrayIcon::ActivationReason>(reason)));
}

std::unique_ptr<QMenu> CTrayNotifyIcon::BuildMenu() const {
    try {
        const res::Menu& table = res::GetMenuTable(m_iconId);
        if (table.items.empty()) {
            return nullptr;
        }
        return tray::BuildTrayMenu(table);
    } catch (const std::out_of_range&) {
        return nullptr;
    }
}

void CTrayNotifyIcon::HandleTrayMessage(int iconId, unsigned mouseMessage) {
    std::unique_ptr<QMenu> menu = iconId == m_iconId ? BuildMenu() : nullptr;
    switch (tray::DecideTrayAction(iconId, m_iconId, mouseMessage, menu != nullptr)) {
        case tray::TrayAction::kPopupMenu: {
            if (m_openMenu) {
                m_openMenu->close();
            }
            QMenu* popup = menu.release();
            popup->setAttribute(Qt::WA_DeleteOnClose);
            connect(popup, &QMenu::triggered, this,
                    [this](QAction* action) { emit commandChosen(action->data().toInt()); });
            m_openMenu = popup;
            popup->popup(QCursor::pos());
            break;
        }
        case tray::TrayAction::kSendDefaultCommand: {
            const QList<QAction*> actions = menu->actions();
            if (!actions.isEmpty()) {
                emit commandChosen(actions.front()->data().toInt());
            }
            break;
        }
        case tray::TrayAction::kNone:
            break;
    }
}

bool CTrayNotifyIcon::ShowMessage(const QString& title, const QString& text) {
    if (m_bAdded) {
        m_icon->showMessage(title, text);
    }
    return m_bAdded;
}

void CTrayNotifyIcon::Remove() {
    if (m_openMenu) {
        m_openMenu->close();
    }
    if (m_bAdded && m_icon) {
        m_icon->hide();
    }
    m_icon.reset();
    m_bAdded = false;
}
