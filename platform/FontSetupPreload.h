#pragma once

#include <thread>

namespace platform {

// Reads the desktop's font configuration on a thread of its own from the start of the process,
// where the system has one to read (fontconfig): the window toolkit then finds it read instead
// of reading it when the first window builds its controls. Destroying the object waits for the
// thread.
class FontSetupPreload {
public:
    FontSetupPreload();
    ~FontSetupPreload();
    FontSetupPreload(const FontSetupPreload&) = delete;
    FontSetupPreload& operator=(const FontSetupPreload&) = delete;

private:
    std::thread m_thread;
};

}  // namespace platform
