#pragma once

class QWidget;

// Backend part of ShowWindowInFront: asks the window manager to give a shown top-level window the
// focus, bypassing focus-stealing prevention where the platform allows it.
namespace platform {

void RequestActivation(QWidget* window);

}  // namespace platform
