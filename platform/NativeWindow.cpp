#include "platform/NativeWindow.h"

#include <QWidget>

#include "platform/ActivationRequest.h"

namespace platform {

void EnsureNativeWindow(QWidget* window) {
    window->winId();
}

void ShowWindowInFront(QWidget* window) {
    // showNormal also clears the minimised state that MinimiseAndHideWindow left behind, so the
    // window comes back at normal size and not as an icon.
    window->showNormal();
    window->raise();
    window->activateWindow();
    RequestActivation(window);
}

void MinimiseAndHideWindow(QWidget* window) {
    window->showMinimized();
    window->hide();
}

}  // namespace platform
