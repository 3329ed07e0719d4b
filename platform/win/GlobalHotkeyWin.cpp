#include <windows.h>

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <vector>

#include "platform/GlobalHotkey.h"

namespace platform {
namespace {

// RegisterHotKey for the UI thread (no window): WM_HOTKEY arrives in the thread's queue, where
// Qt's event dispatcher hands it to native event filters.
class CGlobalHotkeyWin : public IGlobalHotkey, public QAbstractNativeEventFilter {
public:
    explicit CGlobalHotkeyWin(QObject* parent) : IGlobalHotkey(parent) {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~CGlobalHotkeyWin() override {
        QCoreApplication::instance()->removeNativeEventFilter(this);
        for (int id : m_ids) {
            UnregisterHotKey(nullptr, id);
        }
    }

    HotkeyRegistration Register(int id, unsigned modifiers, unsigned virtualKey) override {
        if (virtualKey == 0) {
            return HotkeyRegistration::kRegistered;
        }
        // A second registration under the same id keeps the first one active as well.
        if (!RegisterHotKey(nullptr, id, modifiers, virtualKey)) {
            return HotkeyRegistration::kRefused;
        }
        m_ids.push_back(id);
        return HotkeyRegistration::kRegistered;
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (eventType != "windows_dispatcher_MSG" && eventType != "windows_generic_MSG") {
            return false;
        }
        const MSG* msg = static_cast<const MSG*>(message);
        if (msg->message != WM_HOTKEY) {
            return false;
        }
        emit activated(static_cast<int>(msg->wParam));
        return true;
    }

private:
    std::vector<int> m_ids;
};

}  // namespace

std::unique_ptr<IGlobalHotkey> CreateGlobalHotkey(QObject* parent) {
    return std::make_unique<CGlobalHotkeyWin>(parent);
}

}  // namespace platform
