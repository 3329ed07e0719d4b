#pragma once

#include "platform/SingleInstance.h"

// The application object: makes sure one copy runs per user, hands a second start over to the
// running copy, sets the colours of every dialog and message box, runs the main window until the
// program exits and then gives the single-instance marker up. Needs the QApplication.
class CTermixApp {
public:
    // The marker's name; also the name a second copy looks for.
    static constexpr const char* kMutexName = platform::kProgramMarker;

    // `marker`: the single-instance marker, which main() tries to take before anything else.
    explicit CTermixApp(platform::CSingleInstance& marker) : m_hMutex(marker) {}
    CTermixApp(const CTermixApp&) = delete;
    CTermixApp& operator=(const CTermixApp&) = delete;

    // InitInstance, then ExitInstance; returns the process exit code.
    int Run();

    // Runs the program, or activates the running copy's window when the marker is taken.
    // Always false: no message loop of the framework's own follows.
    bool InitInstance();
    // Gives the marker up; returns the exit code.
    int ExitInstance();

private:
    static void SetDialogColours();
    void RunMainWindow();

    platform::CSingleInstance& m_hMutex;
};
