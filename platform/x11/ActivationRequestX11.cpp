#include <QWidget>

#include "platform/ActivationRequest.h"
#include "platform/x11/X11Connection.h"

namespace platform {

void RequestActivation(QWidget* window) {
    const auto x = x11::GetQtConnection();
    if (!x || !window->isVisible()) {
        return;
    }
    x11::SendNetActiveWindow(x->connection, x->root, static_cast<xcb_window_t>(window->winId()));
}

}  // namespace platform
