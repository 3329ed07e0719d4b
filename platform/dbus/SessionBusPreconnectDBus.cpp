#include <QDBusConnection>
#include <system_error>

#include "platform/SessionBusPreconnect.h"

namespace platform {

SessionBusPreconnect::SessionBusPreconnect() {
    try {
        // The process has one shared session connection; whoever asks next gets this one. Made
        // off the main thread, it delivers incoming messages at once instead of holding them
        // until the event loop runs; the program's objects receive them through that loop anyway.
        m_thread = std::thread([] { QDBusConnection::sessionBus(); });
    } catch (const std::system_error&) {
        // No thread: the toolkit connects when it first needs the bus.
    }
}

SessionBusPreconnect::~SessionBusPreconnect() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

}  // namespace platform
