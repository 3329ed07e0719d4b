#pragma once

#include <QDBusConnection>
#include <QString>
#include <map>
#include <vector>

#include "core/HotkeyValue.h"
#include "platform/GlobalHotkey.h"

class QDBusMessage;
class QDBusPendingCallWatcher;

namespace platform::portal {

// The hotkey through the desktop portal's GlobalShortcuts interface (a Wayland desktop, where an
// X11 grab fires only while an X11 window has the focus). Every id is one shortcut of one portal
// session, created with the same session token on every start, so the desktop's shortcut settings
// list the program once. Each registration rebinds the whole list: the session is closed and
// created again with every shortcut in its options, which desktops that take the list from
// CreateSession (KDE 5.27) honour; when the session comes back without the shortcuts, they are
// bound with BindShortcuts. Results arrive later (kPending, then registrationFinished): a
// registration counts as refused when the desktop answers with another key than the one asked
// for (KDE keeps the key a shortcut got first, or the one the user gave it in its settings).
// A combination held by another program cannot be detected: KDE then answers with the trigger
// asked for but gives the shortcut no key.
class CGlobalHotkeyPortal : public IGlobalHotkey {
    Q_OBJECT
public:
    explicit CGlobalHotkeyPortal(const QDBusConnection& bus, QObject* parent = nullptr);
    ~CGlobalHotkeyPortal() override;

    // True when a portal on `bus` answers for the GlobalShortcuts interface (asks it, waiting a
    // few seconds at most).
    static bool IsOffered(const QDBusConnection& bus);

    HotkeyRegistration Register(int id, unsigned modifiers, unsigned virtualKey) override;

private slots:
    void OnResponse(const QDBusMessage& message);
    void OnActivated(const QDBusMessage& message);

private:
    enum class Step { kIdle, kCreatingSession, kBinding };

    void StartBinding();
    void BindShortcuts();
    // Sends `call` (whose options carry `token` as handle_token) and waits for the Response of
    // the request it opens.
    void SendRequest(const QDBusMessage& call, const QString& token);
    void OnRequestSent(QDBusPendingCallWatcher* watcher);
    void StopWaitingForResponse();
    // True when the answer's shortcuts carry the keys asked for.
    bool BoundAsAsked(const QVariant& shortcuts) const;
    // Reports the answer for every id bound by the request, then binds what came in meanwhile.
    void Finish(bool bound);
    void CloseSession();
    QString NextToken();
    QVariant ShortcutList() const;

    QDBusConnection m_bus;
    std::map<int, hotkey::Combination> m_combinations;  // as the session should bind them
    std::vector<int> m_binding;  // ids whose registration the request in flight answers
    std::vector<int> m_waiting;  // ids registered while a request was in flight
    Step m_step = Step::kIdle;
    QString m_requestPath;
    QString m_sessionPath;
    unsigned m_requestCount = 0;
};

}  // namespace platform::portal
