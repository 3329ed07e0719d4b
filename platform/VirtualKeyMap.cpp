#include "platform/VirtualKeyMap.h"

#include <Qt>
#include <utility>

#include "core/HotkeyValue.h"

namespace platform {
namespace {

// Non-character keys and punctuation: Qt key <-> virtual key. The first entry for a virtual key is
// the one VirtualKeyToQtKey returns (the unshifted character of a US layout).
constexpr std::pair<int, unsigned> kKeyTable[] = {
    {Qt::Key_Backspace, vk::kBack},
    {Qt::Key_Tab, vk::kTab},
    {Qt::Key_Backtab, vk::kTab},
    {Qt::Key_Return, vk::kReturn},
    {Qt::Key_Enter, vk::kReturn},
    {Qt::Key_Pause, vk::kPause},
    {Qt::Key_CapsLock, vk::kCapital},
    {Qt::Key_Escape, vk::kEscape},
    {Qt::Key_Space, vk::kSpace},
    {Qt::Key_PageUp, vk::kPrior},
    {Qt::Key_PageDown, vk::kNext},
    {Qt::Key_End, vk::kEnd},
    {Qt::Key_Home, vk::kHome},
    {Qt::Key_Left, vk::kLeft},
    {Qt::Key_Up, vk::kUp},
    {Qt::Key_Right, vk::kRight},
    {Qt::Key_Down, vk::kDown},
    {Qt::Key_Print, vk::kSnapshot},
    {Qt::Key_Insert, vk::kInsert},
    {Qt::Key_Delete, vk::kDelete},
    {Qt::Key_Help, vk::kHelp},
    {Qt::Key_Menu, vk::kApps},
    {Qt::Key_NumLock, vk::kNumLock},
    {Qt::Key_ScrollLock, vk::kScroll},
    {Qt::Key_Shift, vk::kShift},
    {Qt::Key_Control, vk::kControl},
    {Qt::Key_Alt, vk::kMenu},
    {Qt::Key_Super_L, vk::kLWin},
    {Qt::Key_Meta, vk::kLWin},
    {Qt::Key_Super_R, vk::kRWin},
    // Shifted digits of a US layout.
    {Qt::Key_Exclam, vk::kDigit0 + 1},
    {Qt::Key_At, vk::kDigit0 + 2},
    {Qt::Key_NumberSign, vk::kDigit0 + 3},
    {Qt::Key_Dollar, vk::kDigit0 + 4},
    {Qt::Key_Percent, vk::kDigit0 + 5},
    {Qt::Key_AsciiCircum, vk::kDigit0 + 6},
    {Qt::Key_Ampersand, vk::kDigit0 + 7},
    {Qt::Key_Asterisk, vk::kDigit0 + 8},
    {Qt::Key_ParenLeft, vk::kDigit0 + 9},
    {Qt::Key_ParenRight, vk::kDigit0},
    // Punctuation keys, unshifted first.
    {Qt::Key_Semicolon, vk::kOem1},
    {Qt::Key_Colon, vk::kOem1},
    {Qt::Key_Equal, vk::kOemPlus},
    {Qt::Key_Plus, vk::kOemPlus},
    {Qt::Key_Comma, vk::kOemComma},
    {Qt::Key_Less, vk::kOemComma},
    {Qt::Key_Minus, vk::kOemMinus},
    {Qt::Key_Underscore, vk::kOemMinus},
    {Qt::Key_Period, vk::kOemPeriod},
    {Qt::Key_Greater, vk::kOemPeriod},
    {Qt::Key_Slash, vk::kOem2},
    {Qt::Key_Question, vk::kOem2},
    {Qt::Key_QuoteLeft, vk::kOem3},
    {Qt::Key_AsciiTilde, vk::kOem3},
    {Qt::Key_BracketLeft, vk::kOem4},
    {Qt::Key_BraceLeft, vk::kOem4},
    {Qt::Key_Backslash, vk::kOem5},
    {Qt::Key_Bar, vk::kOem5},
    {Qt::Key_BracketRight, vk::kOem6},
    {Qt::Key_BraceRight, vk::kOem6},
    {Qt::Key_Apostrophe, vk::kOem7},
    {Qt::Key_QuoteDbl, vk::kOem7},
};

// Keypad operators: the Qt key carried with Qt::KeypadModifier.
constexpr std::pair<int, unsigned> kKeypadTable[] = {
    {Qt::Key_Asterisk, vk::kMultiply}, {Qt::Key_Plus, vk::kAdd},
    {Qt::Key_Minus, vk::kSubtract},    {Qt::Key_Period, vk::kDecimal},
    {Qt::Key_Comma, vk::kSeparator},   {Qt::Key_Slash, vk::kDivide},
};

}  // namespace

unsigned QtKeyToVirtualKey(int qtKey, bool keypad) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        const unsigned digit = static_cast<unsigned>(qtKey - Qt::Key_0);
        return (keypad ? vk::kNumpad0 : vk::kDigit0) + digit;
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        return vk::kLetterA + static_cast<unsigned>(qtKey - Qt::Key_A);
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        return vk::kF1 + static_cast<unsigned>(qtKey - Qt::Key_F1);
    }
    if (keypad) {
        for (const auto& [key, virtualKey] : kKeypadTable) {
            if (key == qtKey) {
                return virtualKey;
            }
        }
    }
    for (const auto& [key, virtualKey] : kKeyTable) {
        if (key == qtKey) {
            return IsModifierVirtualKey(virtualKey) ? 0 : virtualKey;
        }
    }
    return 0;
}

int VirtualKeyToQtKey(unsigned virtualKey, bool* keypad) {
    bool onKeypad = false;
    int result = 0;
    if (virtualKey >= vk::kDigit0 && virtualKey <= vk::kDigit9) {
        result = Qt::Key_0 + static_cast<int>(virtualKey - vk::kDigit0);
    } else if (virtualKey >= vk::kLetterA && virtualKey <= vk::kLetterZ) {
        result = Qt::Key_A + static_cast<int>(virtualKey - vk::kLetterA);
    } else if (virtualKey >= vk::kF1 && virtualKey <= vk::kF24) {
        result = Qt::Key_F1 + static_cast<int>(virtualKey - vk::kF1);
    } else if (virtualKey >= vk::kNumpad0 && virtualKey <= vk::kNumpad9) {
        result = Qt::Key_0 + static_cast<int>(virtualKey - vk::kNumpad0);
        onKeypad = true;
    } else {
        for (const auto& [key, code] : kKeypadTable) {
            if (code == virtualKey) {
                result = key;
                onKeypad = true;
                break;
            }
        }
        if (result == 0 && virtualKey != 0) {
            for (const auto& [key, code] : kKeyTable) {
                if (code == virtualKey) {
                    result = key;
                    break;
                }
            }
        }
    }
    if (keypad != nullptr) {
        *keypad = onKeypad;
    }
    return result;
}

bool IsModifierVirtualKey(unsigned virtualKey) {
    return virtualKey == vk::kShift || virtualKey == vk::kControl || virtualKey == vk::kMenu ||
           virtualKey == vk::kLWin || virtualKey == vk::kRWin ||
           (virtualKey >= 0xA0 && virtualKey <= 0xA5);  // left/right Shift, Ctrl, Alt
}

unsigned QtModifiersToControlFlags(int qtModifiers) {
    unsigned flags = 0;
    if ((qtModifiers & Qt::ShiftModifier) != 0) {
        flags |= hotkey::kHotkeyfShift;
    }
    if ((qtModifiers & Qt::ControlModifier) != 0) {
        flags |= hotkey::kHotkeyfControl;
    }
    if ((qtModifiers & Qt::AltModifier) != 0) {
        flags |= hotkey::kHotkeyfAlt;
    }
    return flags;
}

int ControlFlagsToQtModifiers(unsigned controlFlags) {
    int modifiers = 0;
    if ((controlFlags & hotkey::kHotkeyfShift) != 0) {
        modifiers |= Qt::ShiftModifier;
    }
    if ((controlFlags & hotkey::kHotkeyfControl) != 0) {
        modifiers |= Qt::ControlModifier;
    }
    if ((controlFlags & hotkey::kHotkeyfAlt) != 0) {
        modifiers |= Qt::AltModifier;
    }
    return modifiers;
}

}  // namespace platform
