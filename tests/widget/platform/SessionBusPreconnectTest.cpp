#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QProcess>
#include <QStandardPaths>

#include "platform/SessionBusPreconnect.h"

namespace {

// A private session bus for one test program, stopped when the object goes away.
class PrivateSessionBus {
public:
    PrivateSessionBus() {
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty()) {
            return;
        }
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--session"), QStringLiteral("--nofork"),
                        QStringLiteral("--print-address=1")});
        if (m_daemon.waitForStarted() && m_daemon.waitForReadyRead(10000)) {
            m_address = m_daemon.readLine().trimmed();
        }
    }
    ~PrivateSessionBus() {
        m_daemon.kill();
        m_daemon.waitForFinished();
    }
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

    // Empty when dbus-daemon is not installed or did not come up.
    const QByteArray& Address() const { return m_address; }

private:
    QProcess m_daemon;
    QByteArray m_address;
};

// Qt's name of the shared session connection: looking it up never connects.
QDBusConnection ExistingSessionConnection() {
    return QDBusConnection(QStringLiteral("qt_default_session_bus"));
}

}  // namespace

TEST(SessionBusPreconnect, LeavesTheSharedSessionConnectionMadeForTheProgram) {
    const PrivateSessionBus bus;
    if (bus.Address().isEmpty()) {
        GTEST_SKIP() << "dbus-daemon is not installed";
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
