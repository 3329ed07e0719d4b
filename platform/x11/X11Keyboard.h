#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <vector>

// The server's keyboard and modifier mapping, read once: which keycodes carry a keysym and which
// modifier bit a modifier key sets (Alt and NumLock are not fixed bits in X).
namespace platform::x11 {

class CX11Keyboard {
public:
    explicit CX11Keyboard(xcb_connection_t* connection);

    // Every keycode whose first two levels hold `keysym` (plain and shifted symbol).
    std::vector<xcb_keycode_t> KeycodesFor(std::uint32_t keysym) const;
    // The modifier mask set by a key carrying `keysym` (e.g. Alt_L -> Mod1Mask); 0 if none.
    std::uint16_t ModifierMaskFor(std::uint32_t keysym) const;

    // Registration flags (Alt 1, Ctrl 2, Shift 4) -> X modifier mask.
    std::uint16_t ToModifierMask(unsigned modifiers) const;
    // The mask of NumLock (0 when no key carries it).
    std::uint16_t NumLockMask() const { return m_numLockMask; }
    bool IsValid() const { return m_keysymsPerKeycode > 0; }

private:
    xcb_keycode_t m_minKeycode = 0;
    int m_keysymsPerKeycode = 0;
    std::vector<std::uint32_t> m_keysyms;           // keycode-major, m_keysymsPerKeycode each
    std::vector<xcb_keycode_t> m_modifierKeycodes;  // 8 rows of m_keycodesPerModifier
    int m_keycodesPerModifier = 0;
    std::uint16_t m_altMask = XCB_MOD_MASK_1;
    std::uint16_t m_numLockMask = 0;
};

}  // namespace platform::x11
