#pragma once

// Called first thing in main(), before the QApplication exists: on a Wayland session the program
// runs through XWayland (QT_QPA_PLATFORM=xcb), because the global hotkey and the lookup of the
// running copy's window by title need X11. A QT_QPA_PLATFORM the user set is left alone.
namespace platform {

// Returns true when it set QT_QPA_PLATFORM.
bool PreferX11OnWayland();

// True on a Wayland session (WAYLAND_DISPLAY or XDG_SESSION_TYPE=wayland), also when the program's
// windows go through XWayland.
bool IsWaylandSession();

}  // namespace platform
