#pragma once

#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <cstdint>
#include <vector>

#include "platform/GlobalHotkey.h"

namespace platform::x11 {

// Grabs each combination on the root window (once per NumLock/CapsLock state, since X matches
// modifiers exactly) and reports its KeyPress, which reaches Qt's connection, as activated(id).
class CGlobalHotkeyX11 : public IGlobalHotkey, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    explicit CGlobalHotkeyX11(QObject* parent = nullptr);
    ~CGlobalHotkeyX11() override;

    bool Register(int id, unsigned modifiers, unsigned virtualKey) override;
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    struct Grab {
        int id;
        xcb_keycode_t keycode;
        std::uint16_t modifiers;  // without lock bits
    };

    std::vector<std::uint16_t> LockVariants(std::uint16_t numLockMask) const;
    bool IsGrabbed(xcb_keycode_t keycode, std::uint16_t modifiers) const;

    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = 0;
    std::uint16_t m_numLockMask = 0;
    std::vector<Grab> m_grabs;
};

}  // namespace platform::x11
