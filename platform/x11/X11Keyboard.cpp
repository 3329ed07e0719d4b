#include "platform/x11/X11Keyboard.h"

#include <X11/keysym.h>

#include <algorithm>
#include <cstdlib>

#include "core/HotkeyValue.h"
#include "logging/LogCategories.h"

namespace platform::x11 {

CX11Keyboard::CX11Keyboard(xcb_connection_t* connection)
    : m_symbols(xcb_key_symbols_alloc(connection)) {
    if (m_symbols == nullptr) {
        qCWarning(lcPlatform) << "xcb_key_symbols_alloc failed: no keyboard mapping";
    }
    xcb_get_modifier_mapping_reply_t* modifiers =
        xcb_get_modifier_mapping_reply(connection, xcb_get_modifier_mapping(connection), nullptr);
    if (modifiers != nullptr) {
        const xcb_keycode_t* keycodes = xcb_get_modifier_mapping_keycodes(modifiers);
        const int length = xcb_get_modifier_mapping_keycodes_length(modifiers);
        m_modifierKeycodes.assign(keycodes, keycodes + length);
        m_keycodesPerModifier = modifiers->keycodes_per_modifier;
        std::free(modifiers);
    } else {
        qCWarning(lcPlatform) << "GetModifierMapping failed: Alt and NumLock keep their defaults";
    }

    if (const std::uint16_t alt = ModifierMaskFor(XK_Alt_L); alt != 0) {
        m_altMask = alt;
    }
    m_numLockMask = ModifierMaskFor(XK_Num_Lock);
}

CX11Keyboard::~CX11Keyboard() {
    if (m_symbols != nullptr) {
        xcb_key_symbols_free(m_symbols);
    }
}

std::vector<xcb_keycode_t> CX11Keyboard::KeycodesFor(std::uint32_t keysym) const {
    std::vector<xcb_keycode_t> result;
    if (m_symbols == nullptr || keysym == 0) {
        return result;
    }
    // A list ending in XCB_NO_SYMBOL, allocated for the caller; null when no key carries it.
    xcb_keycode_t* keycodes = xcb_key_symbols_get_keycode(m_symbols, keysym);
    if (keycodes != nullptr) {
        for (const xcb_keycode_t* code = keycodes; *code != XCB_NO_SYMBOL; ++code) {
            result.push_back(*code);
        }
        std::free(keycodes);
    }
    return result;
}

std::uint16_t CX11Keyboard::ModifierMaskFor(std::uint32_t keysym) const {
    if (m_keycodesPerModifier <= 0) {
        return 0;
    }
    const std::vector<xcb_keycode_t> keycodes = KeycodesFor(keysym);
    const size_t perModifier = static_cast<size_t>(m_keycodesPerModifier);
    for (size_t index = 0; index < m_modifierKeycodes.size() && index < 8 * perModifier; ++index) {
        const xcb_keycode_t keycode = m_modifierKeycodes[index];
        if (keycode != 0 &&
            std::find(keycodes.begin(), keycodes.end(), keycode) != keycodes.end()) {
            return static_cast<std::uint16_t>(1u << (index / perModifier));
        }
    }
    return 0;
}

std::uint16_t CX11Keyboard::ToModifierMask(unsigned modifiers) const {
    std::uint16_t mask = 0;
    if ((modifiers & hotkey::kModAlt) != 0) {
        mask |= m_altMask;
    }
    if ((modifiers & hotkey::kModControl) != 0) {
        mask |= XCB_MOD_MASK_CONTROL;
    }
    if ((modifiers & hotkey::kModShift) != 0) {
        mask |= XCB_MOD_MASK_SHIFT;
    }
    return mask;
}

}  // namespace platform::x11
