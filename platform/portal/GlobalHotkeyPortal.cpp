#include "platform/portal/GlobalHotkeyPortal.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>

#include "logging/LogCategories.h"
#include "platform/portal/PortalShortcut.h"
#include "platform/portal/PortalTrigger.h"

namespace platform::portal {
namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kDesktopPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kRequestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString kSessionInterface = QStringLiteral("org.freedesktop.portal.Session");
// The same on every start: the desktop keeps one entry (and the user's key choice) for it.
const QString kSessionToken = QStringLiteral("termix");
constexpr int kProbeTimeoutMs = 3000;

QString ShortcutId(int id) {
    return QStringLiteral("show-termix-%1").arg(id);
}

// The results of a Response: a{sv}, delivered as a QDBusArgument.
QVariantMap Results(const QDBusMessage& message) {
    const QList<QVariant> arguments = message.arguments();
    return arguments.size() >= 2 ? qdbus_cast<QVariantMap>(arguments[1]) : QVariantMap{};
}

QString ObjectPathText(const QVariant& value) {
    if (value.userType() == qMetaTypeId<QDBusObjectPath>()) {
        return value.value<QDBusObjectPath>().path();
    }
    return value.toString();  // the 1.16 frontend sends the session handle as a string
}

// The answer's shortcuts by id: the key the desktop bound, as it describes it.
std::map<QString, QString> BoundTriggers(const QVariant& shortcuts) {
    std::map<QString, QString> bound;
    for (const PortalShortcut& shortcut :
         qdbus_cast<QList<PortalShortcut>>(shortcuts.value<QDBusArgument>())) {
        bound[shortcut.id] =
            shortcut.properties.value(QStringLiteral("trigger_description")).toString();
    }
    return bound;
}

}  // namespace

CGlobalHotkeyPortal::CGlobalHotkeyPortal(const QDBusConnection& bus, QObject* parent)
    : IGlobalHotkey(parent), m_bus(bus) {
    RegisterPortalShortcutType();
    // A typed slot for this signal does not connect (the a{sv} argument); the message does.
    m_bus.connect(kService, kDesktopPath, kInterface, QStringLiteral("Activated"), this,
                  SLOT(OnActivated(QDBusMessage)));
}

CGlobalHotkeyPortal::~CGlobalHotkeyPortal() {
    StopWaitingForResponse();
    m_bus.disconnect(kService, kDesktopPath, kInterface, QStringLiteral("Activated"), this,
                     SLOT(OnActivated(QDBusMessage)));
    CloseSession();
}

bool CGlobalHotkeyPortal::IsOffered(const QDBusConnection& bus) {
    if (!bus.isConnected()) {
        return false;
    }
    QDBusMessage get = QDBusMessage::createMethodCall(
        kService, kDesktopPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get << kInterface << QStringLiteral("version");
    const QDBusMessage reply = bus.call(get, QDBus::Block, kProbeTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        qCInfo(lcPlatform) << "no GlobalShortcuts portal:" << reply.errorMessage();
        return false;
    }
    return true;
}

HotkeyRegistration CGlobalHotkeyPortal::Register(int id, unsigned modifiers, unsigned virtualKey) {
    if (virtualKey == 0) {
        return HotkeyRegistration::kRegistered;
    }
    const hotkey::Combination combination{modifiers, virtualKey};
    if (ToPortalTrigger(combination).empty()) {
        qCWarning(lcPlatform) << "hotkey refused: virtual key" << virtualKey
                              << "has no name in the portal's trigger format";
        return HotkeyRegistration::kRefused;
    }
    m_combinations[id] = combination;
    if (m_step != Step::kIdle) {
        m_waiting.push_back(id);  // bound with the next request, once this one is answered
    } else {
        m_binding = {id};
        StartBinding();
    }
    return HotkeyRegistration::kPending;
}

QString CGlobalHotkeyPortal::NextToken() {
    return QStringLiteral("termix_%1").arg(++m_requestCount);
}

QVariant CGlobalHotkeyPortal::ShortcutList() const {
    QList<PortalShortcut> shortcuts;
    for (const auto& [id, combination] : m_combinations) {
        const QString trigger = QString::fromStdString(ToPortalTrigger(combination));
        shortcuts.append({ShortcutId(id),
                          {{QStringLiteral("description"), QString::fromUtf8("显示 Termix")},
                           {QStringLiteral("preferred_trigger"), trigger}}});
    }
    return QVariant::fromValue(shortcuts);
}

void CGlobalHotkeyPortal::StartBinding() {
    // The session is made again with the whole list: KDE 5.27 takes shortcuts only from the
    // CreateSession options.
    CloseSession();
    m_step = Step::kCreatingSession;
    const QString token = NextToken();
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kDesktopPath, kInterface,
                                                       QStringLiteral("CreateSession"));
    call << QVariantMap{{QStringLiteral("handle_token"), token},
                        {QStringLiteral("session_handle_token"), kSessionToken},
                        {QStringLiteral("shortcuts"), ShortcutList()}};
    SendRequest(call, token);
}

void CGlobalHotkeyPortal::BindShortcuts() {
    m_step = Step::kBinding;
    const QString token = NextToken();
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kDesktopPath, kInterface,
                                                       QStringLiteral("BindShortcuts"));
    call << QVariant::fromValue(QDBusObjectPath(m_sessionPath)) << ShortcutList() << QString()
         << QVariantMap{{QStringLiteral("handle_token"), token}};
    SendRequest(call, token);
}

void CGlobalHotkeyPortal::SendRequest(const QDBusMessage& call, const QString& token) {
    // The request's path is known before the call, so the Response cannot come unheard.
    QString sender = m_bus.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    m_requestPath =
        QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
    m_bus.connect(kService, m_requestPath, kRequestInterface, QStringLiteral("Response"), this,
                  SLOT(OnResponse(QDBusMessage)));
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &CGlobalHotkeyPortal::OnRequestSent);
}

void CGlobalHotkeyPortal::OnRequestSent(QDBusPendingCallWatcher* watcher) {
    watcher->deleteLater();
    if (watcher->isError()) {
        qCWarning(lcPlatform) << "GlobalShortcuts portal refused the request:"
                              << watcher->error().message();
        StopWaitingForResponse();
        Finish(false);
    }
}

void CGlobalHotkeyPortal::StopWaitingForResponse() {
    if (!m_requestPath.isEmpty()) {
        m_bus.disconnect(kService, m_requestPath, kRequestInterface, QStringLiteral("Response"),
                         this, SLOT(OnResponse(QDBusMessage)));
        m_requestPath.clear();
    }
}

void CGlobalHotkeyPortal::OnResponse(const QDBusMessage& message) {
    if (message.path() != m_requestPath) {
        return;
    }
    StopWaitingForResponse();
    const uint code = message.arguments().value(0).toUInt();
    const QVariantMap results = Results(message);
    if (code != 0) {
        qCWarning(lcPlatform) << "GlobalShortcuts portal answered" << code
                              << (m_step == Step::kBinding ? "to BindShortcuts"
                                                           : "to CreateSession");
        Finish(false);
        return;
    }
    if (m_step == Step::kCreatingSession) {
        m_sessionPath = ObjectPathText(results.value(QStringLiteral("session_handle")));
        if (m_sessionPath.isEmpty()) {
            qCWarning(lcPlatform) << "GlobalShortcuts portal made a session without a handle";
            Finish(false);
            return;
        }
        if (!results.contains(QStringLiteral("shortcuts"))) {
            BindShortcuts();  // a portal that binds only through BindShortcuts
            return;
        }
    }
    Finish(BoundAsAsked(results.value(QStringLiteral("shortcuts"))));
}

bool CGlobalHotkeyPortal::BoundAsAsked(const QVariant& shortcuts) const {
    // A desktop keeps the key the user gave the shortcut before (KDE): a combination asked for
    // now is then not what the desktop bound, and saying it was registered would be untrue.
    const std::map<QString, QString> bound = BoundTriggers(shortcuts);
    bool asked = true;
    for (int id : m_binding) {
        const auto it = bound.find(ShortcutId(id));
        const QString description = it != bound.end() ? it->second : QString();
        const hotkey::Combination requested = m_combinations.at(id);
        const auto kept = FromPortalTrigger(description.toStdString());
        qCInfo(lcPlatform).noquote() << "GlobalShortcuts portal bound" << ShortcutId(id) << "to"
                                     << (description.isEmpty() ? "no key" : description);
        // A description in a form this program does not read is taken as the key asked for.
        if (description.isEmpty() || (kept && *kept != requested)) {
            qCWarning(lcPlatform).noquote()
                << "hotkey" << QString::fromStdString(ToPortalTrigger(requested))
                << "not bound: the desktop keeps"
                << (description.isEmpty() ? "no key" : description)
                << "(the desktop's shortcut settings change it)";
            asked = false;
        }
    }
    return asked;
}

void CGlobalHotkeyPortal::Finish(bool bound) {
    m_step = Step::kIdle;
    const std::vector<int> answered = std::move(m_binding);
    m_binding.clear();
    if (!m_waiting.empty()) {
        m_binding = std::move(m_waiting);
        m_waiting.clear();
        StartBinding();
    }
    for (int id : answered) {
        emit registrationFinished(id, bound);
    }
}

void CGlobalHotkeyPortal::CloseSession() {
    if (m_sessionPath.isEmpty()) {
        return;
    }
    m_bus.asyncCall(QDBusMessage::createMethodCall(kService, m_sessionPath, kSessionInterface,
                                                   QStringLiteral("Close")));
    m_sessionPath.clear();
}

void CGlobalHotkeyPortal::OnActivated(const QDBusMessage& message) {
    // The portal may send the signal to every client: only our session's shortcuts count.
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() < 2 || m_sessionPath.isEmpty() ||
        ObjectPathText(arguments[0]) != m_sessionPath) {
        return;
    }
    const QString shortcut = arguments[1].toString();
    for (const auto& [id, combination] : m_combinations) {
        if (ShortcutId(id) == shortcut) {
            emit activated(id);
        }
    }
}

}  // namespace platform::portal
