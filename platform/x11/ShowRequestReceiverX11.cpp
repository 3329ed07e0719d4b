#include "platform/x11/ShowRequestReceiverX11.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QWidget>
#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/x11/ShowRequestProtocol.h"
#include "platform/x11/X11Connection.h"

namespace platform {

std::unique_ptr<IShowRequestReceiver> CreateShowRequestReceiver(QObject* parent) {
    return std::make_unique<x11::CShowRequestReceiverX11>(parent);
}

namespace x11 {

CShowRequestReceiverX11::CShowRequestReceiverX11(QObject* parent) : IShowRequestReceiver(parent) {
    if (const auto x = GetQtConnection()) {
        m_connection = x->connection;
        const std::vector<xcb_atom_t> atoms =
            InternAtoms(m_connection, {kShowMessage, kMarkerProperty});
        m_showAtom = atoms[0];
        m_markerAtom = atoms[1];
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
}

CShowRequestReceiverX11::~CShowRequestReceiverX11() {
    if (m_connection != nullptr && QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
}

void CShowRequestReceiverX11::Watch(QWidget* window) {
    if (m_connection == nullptr || window == nullptr) {
        return;
    }
    const auto id = static_cast<xcb_window_t>(window->winId());
    const std::uint32_t value = 1;
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, id, m_markerAtom, XCB_ATOM_CARDINAL,
                        32, 1, &value);
    xcb_flush(m_connection);
    if (std::find(m_windows.begin(), m_windows.end(), id) == m_windows.end()) {
        m_windows.push_back(id);
    }
}

bool CShowRequestReceiverX11::nativeEventFilter(const QByteArray& eventType, void* message,
                                                qintptr*) {
    if (eventType != "xcb_generic_event_t" || message == nullptr || m_showAtom == XCB_ATOM_NONE) {
        return false;
    }
    auto* event = static_cast<xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE) {
        return false;
    }
    auto* client = static_cast<xcb_client_message_event_t*>(message);
    if (client->type != m_showAtom ||
        std::find(m_windows.begin(), m_windows.end(), client->window) == m_windows.end()) {
        return false;
    }
    QMetaObject::invokeMethod(
        this, [this] { emit showRequested(); }, Qt::QueuedConnection);
    return true;
}

}  // namespace x11
}  // namespace platform
