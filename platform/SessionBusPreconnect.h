#pragma once

#include <thread>

namespace platform {

// Connects to the desktop's session message bus on a thread of its own while the main window is
// being built, where the system has such a bus (D-Bus). The toolkit's accessibility support asks
// for that connection when the first control gets its text and waits until it is made; with no
// bus running, making it includes trying to start one, which takes a few milliseconds. Started
// early, the connection is made while the window loads its fonts, and the toolkit finds it ready.
// Needs the QApplication; destroying the object waits for the thread.
class SessionBusPreconnect {
public:
    SessionBusPreconnect();
    ~SessionBusPreconnect();
    SessionBusPreconnect(const SessionBusPreconnect&) = delete;
    SessionBusPreconnect& operator=(const SessionBusPreconnect&) = delete;

private:
    std::thread m_thread;
};

}  // namespace platform
