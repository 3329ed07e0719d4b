#include <windows.h>

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QWidget>
#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/ShowRequestReceiver.h"
#include "platform/win/ShowRequestProtocolWin.h"

namespace platform {
namespace {

class CShowRequestReceiverWin : public IShowRequestReceiver, public QAbstractNativeEventFilter {
public:
    explicit CShowRequestReceiverWin(QObject* parent)
        : IShowRequestReceiver(parent), m_message(RegisterWindowMessageW(win::kShowMessage)) {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~CShowRequestReceiverWin() override {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }

    void Watch(QWidget* window) override {
        HWND hwnd = reinterpret_cast<HWND>(window->winId());
        SetPropW(hwnd, win::kMarkerProperty,
                 reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(1)));
        m_windows.push_back(hwnd);
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (eventType != "windows_generic_MSG" || m_message == 0) {
            return false;
        }
        const MSG* msg = static_cast<const MSG*>(message);
        if (msg->message != m_message ||
            std::find(m_windows.begin(), m_windows.end(), msg->hwnd) == m_windows.end()) {
            return false;
        }
        emit showRequested();
        return true;
    }

private:
    UINT m_message;
    std::vector<HWND> m_windows;
};

}  // namespace

std::unique_ptr<IShowRequestReceiver> CreateShowRequestReceiver(QObject* parent) {
    return std::make_unique<CShowRequestReceiverWin>(parent);
}

}  // namespace platform
