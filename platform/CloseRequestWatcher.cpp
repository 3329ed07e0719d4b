#include "platform/CloseRequestWatcher.h"

#include <QGuiApplication>
#include <QSessionManager>

namespace platform {

void CloseRequestWatcher::ConnectSessionEnd() {
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        // The session manager asks the program to save: it is about to be ended.
        connect(app, &QGuiApplication::commitDataRequest, this,
                [this](QSessionManager&) { Deliver(); });
    }
}

void CloseRequestWatcher::Deliver() {
    if (m_delivered) {
        return;
    }
    m_delivered = true;
    emit closeRequested();
}

}  // namespace platform
