#include "platform/x11/X11Keyboard.h"

#include <X11/keysym.h>

#include <cstdlib>

#include "core/HotkeyValue.h"

namespace platform::x11 {

CX11Keyboard::CX11Keyboard(xcb_connection_t* connection) {
    const xcb_setup_t* setup = xcb_get_setup(connection);
    m_minKeycode = setup->min_keycode;
    const auto count = static_cast<uint8_t>(setup->max_keycode - setup->min_keycode + 1);

    xcb_get_keyboard_mapping_reply_t* keyboard = xcb_get_keyboard_mapping_reply(
        connection, xcb_get_keyboard_mapping(connection, m_minKeycode, count), nullptr);
    if (keyboard != nullptr) {
        const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(keyboard);
        const int length = xcb_get_keyboard_mapping_keysyms_length(keyboard);
        m_keysyms.assign(keysyms, keysyms + length);
        m_keysymsPerKeycode = keyboard->keysyms_per_keycode;
        std::free(keyboard);
    }

    xcb_get_modifier_mapping_reply_t* modifiers =
        xcb_get_modifier_mapping_reply(connection, xcb_get_modifier_mapping(connection), nullptr);
    if (modifiers != nullptr) {
        const xcb_keycode_t* keycodes = xcb_get_modifier_mapping_keycodes(modifiers);
        const int length = xcb_get_modifier_mapping_keycodes_length(modifiers);
        m_modifierKeycodes.assign(keycodes, keycodes + length);
        m_keycodesPerModifier = modifiers->keycodes_per_modifier;
        std::free(modifiers);
    }

    if (const std::uint16_t alt = ModifierMaskFor(XK_Alt_L); alt != 0) {
        m_altMask = alt;
    }
    m_numLockMask = ModifierMaskFor(XK_Num_Lock);
}

std::vector<xcb_keycode_t> CX11Keyboard::KeycodesFor(std::uint32_t keysym) const {
    std::vector<xcb_keycode_t> result;
    if (m_keysymsPerKeycode <= 0 || keysym == 0) {
        return result;
    }
    const size_t perKeycode = static_cast<size_t>(m_keysymsPerKeycode);
    const size_t levels = perKeycode < 2 ? perKeycode : 2;
    for (size_t index = 0; index + perKeycode <= m_keysyms.size(); index += perKeycode) {
        for (size_t level = 0; level < levels; ++level) {
            if (m_keysyms[index + level] == keysym) {
                result.push_back(static_cast<xcb_keycode_t>(m_minKeycode + index / perKeycode));
                break;
            }
        }
    }
    return result;
}

std::uint16_t CX11Keyboard::ModifierMaskFor(std::uint32_t keysym) const {
    if (m_keycodesPerModifier <= 0) {
        return 0;
    }
    const std::vector<xcb_keycode_t> keycodes = KeycodesFor(keysym);
    const size_t perModifier = static_cast<size_t>(m_keycodesPerModifier);
    for (size_t row = 0; row < 8; ++row) {
        for (size_t column = 0; column < perModifier; ++column) {
            const size_t index = row * perModifier + column;
            if (index >= m_modifierKeycodes.size()) {
                return 0;
            }
            const xcb_keycode_t keycode = m_modifierKeycodes[index];
            if (keycode == 0) {
                continue;
            }
            for (xcb_keycode_t candidate : keycodes) {
                if (candidate == keycode) {
                    return static_cast<std::uint16_t>(1u << row);
                }
            }
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
