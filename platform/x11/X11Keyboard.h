#pragma once

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <cstdint>
#include <vector>

// The server's keyboard and modifier mapping as they are when the object is made: which keycodes
// carry a keysym (through xcb-keysyms) and which modifier bit a modifier key sets (Alt and NumLock
// are not fixed bits in X). Make a new one after the mapping changed.
namespace platform::x11 {

class CX11Keyboard {
public:
    explicit CX11Keyboard(xcb_connection_t* connection);
    ~CX11Keyboard();
    CX11Keyboard(const CX11Keyboard&) = delete;
    CX11Keyboard& operator=(const CX11Keyboard&) = delete;

    // Every keycode that carries `keysym`.
    std::vector<xcb_keycode_t> KeycodesFor(std::uint32_t keysym) const;
    // The modifier mask set by a key carrying `keysym` (e.g. Alt_L -> Mod1Mask); 0 if none.
    std::uint16_t ModifierMaskFor(std::uint32_t keysym) const;

    // Registration flags (Alt 1, Ctrl 2, Shift 4) -> X modifier mask.
    std::uint16_t ToModifierMask(unsigned modifiers) const;
    // The mask of NumLock (0 when no key carries it).
    std::uint16_t NumLockMask() const { return m_numLockMask; }

private:
    xcb_key_symbols_t* m_symbols = nullptr;
    std::vector<xcb_keycode_t> m_modifierKeycodes;  // 8 rows of m_keycodesPerModifier
    int m_keycodesPerModifier = 0;
    std::uint16_t m_altMask = XCB_MOD_MASK_1;
    std::uint16_t m_numLockMask = 0;
};

}  // namespace platform::x11
