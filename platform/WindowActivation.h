#pragma once

#include <string>

// Used by a second copy of the program: finds the top-level window whose title is exactly
// `titleUtf8` (any program, hidden windows included) and asks it to restore and come forward.
// A window of ours (marked by CShowRequestReceiver::Watch) gets a show request that it answers
// itself; it is never mapped from outside. A window of another program is restored and activated
// through the window manager. Uses the application's own display connection, so it needs the
// QApplication. Returns true when a window was found and asked.
namespace platform {

bool ActivateExistingWindow(const std::string& titleUtf8);

}  // namespace platform
