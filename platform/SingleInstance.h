#pragma once

#include <cstdint>
#include <string>

// Marks the one running copy of the program for the logged-on user.
// POSIX: an exclusive flock on "<runtime dir>/<marker name>.lock", where the runtime dir is
// $XDG_RUNTIME_DIR, or /tmp/termix-<uid> (created 0700) when that is unset. Windows: a named
// mutex. Either way the system drops the marker when the process ends, also on a crash.
//
// Usage: CSingleInstance instance; if (!instance.TryAcquire(kProgramMarker)) { /* another copy */ }
namespace platform {

// The marker of the window program, named after the mutex the program has always used.
constexpr const char* kProgramMarker = "{6B633CEE-E413-43b4-9C6B-D8D0FA18269F}";

class CSingleInstance {
public:
    enum class State {
        kNotTried,       // TryAcquire not called yet
        kAcquired,       // this process holds the marker
        kHeldElsewhere,  // another process holds it
        kFailed,         // the marker could not be created or locked (treat as another copy)
        kReleased,       // Release ran after kAcquired
    };

    CSingleInstance() = default;
    ~CSingleInstance();
    CSingleInstance(const CSingleInstance&) = delete;
    CSingleInstance& operator=(const CSingleInstance&) = delete;

    // True when this process now holds the marker (state kAcquired). Calling it again while
    // acquired returns true without doing anything.
    bool TryAcquire(const std::string& markerName);
    // Gives the marker up (also done by the destructor).
    void Release();

    // Whether another process holds the marker now, for a program that only wants to know
    // (termix-cli before an edit). A copy of the program starting at that moment still gets the
    // marker: on POSIX a look only ever holds the lock shared, and TryAcquire waits out such a
    // look instead of taking it for another copy; on Windows a look opens an event the holder
    // makes beside its mutex, never the mutex itself.
    static bool IsHeldElsewhere(const std::string& markerName);

    State GetState() const { return m_state; }
    // The file (POSIX) or object name (Windows) used by the last TryAcquire.
    const std::string& GetMarkerPath() const { return m_markerPath; }

    // The directory holding the marker files (POSIX); exposed for tests.
    static std::string MarkerDirectory();

private:
    State m_state = State::kNotTried;
    std::string m_markerPath;
    std::intptr_t m_handle = -1;  // file descriptor or HANDLE
    // Windows: the event a look opens (IsHeldElsewhere); POSIX has no such object.
    [[maybe_unused]] std::intptr_t m_lookHandle = 0;
};

}  // namespace platform
