#pragma once

#include <sys/types.h>

#include <string>

// A private Xvfb for one test program on a free display it picks itself; it is stopped
// by its pid when the object goes away.
class XvfbServer {
public:
    XvfbServer() = default;
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // False when Xvfb is not installed or did not come up within a few seconds.
    bool Start();
    // ":N"
    const std::string& Display() const { return m_display; }

private:
    pid_t m_pid = -1;
    std::string m_display;
};
