#include <windows.h>

#include <QWidget>

#include "platform/ActivationRequest.h"

namespace platform {

void RequestActivation(QWidget* window) {
    SetForegroundWindow(reinterpret_cast<HWND>(window->winId()));
}

}  // namespace platform
