#pragma once

#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <vector>

#include "platform/ShowRequestReceiver.h"

namespace platform::x11 {

class CShowRequestReceiverX11 : public IShowRequestReceiver, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    explicit CShowRequestReceiverX11(QObject* parent = nullptr);
    ~CShowRequestReceiverX11() override;

    void Watch(QWidget* window) override;
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    xcb_connection_t* m_connection = nullptr;
    xcb_atom_t m_showAtom = XCB_ATOM_NONE;
    xcb_atom_t m_markerAtom = XCB_ATOM_NONE;
    std::vector<xcb_window_t> m_windows;
};

}  // namespace platform::x11
