#pragma once

#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/GlobalHotkey.h"

namespace platform::x11 {

class CX11Keyboard;

// Grabs each combination on the root window (once per NumLock/CapsLock state, since X matches
// modifiers exactly) and reports its KeyPress, which reaches Qt's connection, as activated(id).
// The combinations are kept as keysyms: when the keyboard mapping changes (a layout switch,
// xmodmap, a new keyboard) every combination is grabbed again on the keycodes that now carry it.
class CGlobalHotkeyX11 : public IGlobalHotkey, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    // `desktopWide` false: the X server is XWayland, whose grabs fire only while an X11 window
    // has the focus.
    explicit CGlobalHotkeyX11(QObject* parent = nullptr, bool desktopWide = true);
    ~CGlobalHotkeyX11() override;

    HotkeyRegistration Register(int id, unsigned modifiers, unsigned virtualKey) override;
    bool IsDesktopWide() const override { return m_desktopWide; }
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    struct Combination {
        int id;
        unsigned modifiers;  // registration flags
        unsigned virtualKey;
    };
    struct Grab {
        int id;
        xcb_keycode_t keycode;
        std::uint16_t modifiers;  // without lock bits
    };

    // Grabs `combination` with the current mapping; false (and nothing grabbed) when refused.
    bool GrabCombination(const Combination& combination, const CX11Keyboard& keyboard);
    void UngrabAll();
    // Called for every mapping change; grabs everything again once the burst of events is over.
    void ScheduleRegrab();
    void Regrab();
    bool IsMappingChange(const xcb_generic_event_t* event) const;
    // The first event number of the XKEYBOARD extension, 0 without it.
    std::uint8_t XkbEventBase() const;
    bool IsGrabbed(xcb_keycode_t keycode, std::uint16_t modifiers) const;

    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = 0;
    mutable std::optional<xcb_query_extension_cookie_t> m_xkbQuery;  // until its answer is read
    mutable std::uint8_t m_xkbEventBase = 0;
    std::uint16_t m_numLockMask = 0;
    bool m_regrabPending = false;
    bool m_desktopWide = true;
    std::vector<Combination> m_combinations;
    std::vector<Grab> m_grabs;
};

}  // namespace platform::x11
