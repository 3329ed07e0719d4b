#pragma once

class QWidget;

// Native window operations of the main window, with the platform's specifics behind them.
namespace platform {

// Creates the native window of a top-level widget now, even while it stays hidden, so that a
// second copy can find it by title. Call after setting the title.
void EnsureNativeWindow(QWidget* window);

// Restores the window (a hidden or minimised window becomes visible at normal size), raises it
// and asks the window manager to give it the focus (X11: _NET_ACTIVE_WINDOW).
void ShowWindowInFront(QWidget* window);

// Hides the window the way the program always has: first minimise, then hide. Afterwards the
// window has no taskbar entry.
void MinimiseAndHideWindow(QWidget* window);

}  // namespace platform
