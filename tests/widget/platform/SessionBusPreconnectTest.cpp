#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QProcess>
#include <QStandardPaths>

#include "UnavailableTool.h"
#include "platform/SessionBusPreconnect.h"

namespace {

// A private session bus for one test program, stopped when the object goes away.
class PrivateSessionBus {
public:
    PrivateSessionBus() {
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty()) {
            m_problem = "dbus-daemon is not installed";
            return;
        }
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--session"), QStringLiteral("--nofork"),
                        QStringLiteral("--print-address=1")});
        if (m_daemon.waitForStarted() && m_daemon.waitForReadyRead(10000)) {
            m_address = m_daemon.readLine().trimmed();
        }
        if (m_address.isEmpty()) {
            m_problem = "dbus-daemon did not start";
        }
    }
    ~PrivateSessionBus() {
        m_daemon.kill();
        m_daemon.waitForFinished();
    }
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

    const QByteArray& Address() const { return m_address; }
    // Why there is no bus; null when there is one.
    const char* Problem() const { return m_problem; }

private:
    QProcess m_daemon;
    QByteArray m_address;
    const char* m_problem = nullptr;
};

// Qt's name of the shared session connection: looking it up never connects.
QDBusConnection ExistingSessionConnection() {
    return QDBusConnection(QStringLiteral("qt_default_session_bus"));
}

}  // namespace

TEST(SessionBusPreconnect, LeavesTheSharedSessionConnectionMadeForTheProgram) {
    const PrivateSessionBus bus;
    if (bus.Problem() != nullptr) {
        SKIP_FOR_UNAVAILABLE_TOOL(bus.Problem());
    }
    qputenv("DBUS_SESSION_BUS_ADDRESS", bus.Address());
    int argc = 1;
    char arg0[] = "termix_session_bus_test";
    char* argv[] = {arg0, nullptr};
    const QCoreApplication application(argc, argv);
    ASSERT_FALSE(ExistingSessionConnection().isConnected());

    { const platform::SessionBusPreconnect preconnect; }

    const QDBusConnection made = ExistingSessionConnection();
    ASSERT_TRUE(made.isConnected());
    EXPECT_EQ(QDBusConnection::sessionBus().baseService(), made.baseService());
}
