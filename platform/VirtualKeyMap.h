#pragma once

#include <string>

// Windows virtual-key codes as stored in the hotkey setting, and their mapping to and from Qt
// keys. Used by the settings dialog's hotkey input control (which edits a virtual key plus
// HOTKEYF flags) and by the hotkey backends.
namespace platform {

// The virtual-key codes this program knows by name.
namespace vk {
constexpr unsigned kBack = 0x08, kTab = 0x09, kReturn = 0x0D, kPause = 0x13, kCapital = 0x14,
                   kEscape = 0x1B, kSpace = 0x20, kPrior = 0x21, kNext = 0x22, kEnd = 0x23,
                   kHome = 0x24, kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28,
                   kSnapshot = 0x2C, kInsert = 0x2D, kDelete = 0x2E, kHelp = 0x2F;
constexpr unsigned kDigit0 = 0x30, kDigit9 = 0x39, kLetterA = 0x41, kLetterZ = 0x5A;
constexpr unsigned kApps = 0x5D, kNumpad0 = 0x60, kNumpad9 = 0x69, kMultiply = 0x6A, kAdd = 0x6B,
                   kSeparator = 0x6C, kSubtract = 0x6D, kDecimal = 0x6E, kDivide = 0x6F;
constexpr unsigned kF1 = 0x70, kF24 = 0x87, kNumLock = 0x90, kScroll = 0x91;
constexpr unsigned kShift = 0x10, kControl = 0x11, kMenu = 0x12, kLWin = 0x5B, kRWin = 0x5C;
constexpr unsigned kOem1 = 0xBA, kOemPlus = 0xBB, kOemComma = 0xBC, kOemMinus = 0xBD,
                   kOemPeriod = 0xBE, kOem2 = 0xBF, kOem3 = 0xC0, kOem4 = 0xDB, kOem5 = 0xDC,
                   kOem6 = 0xDD, kOem7 = 0xDE, kOem102 = 0xE2;
}  // namespace vk

// The virtual key of a Qt key (Qt::Key value). `keypad` is true when the event carried
// Qt::KeypadModifier (digits and operators then map to the numpad keys). Shifted punctuation maps
// to its unshifted key ('!' -> '1', ':' -> VK_OEM_1) as on a US layout. Returns 0 for keys
// that have no virtual key or are modifiers themselves.
unsigned QtKeyToVirtualKey(int qtKey, bool keypad);

// The Qt key for a virtual key, 0 when there is none. For numpad keys `keypad` is set to true.
int VirtualKeyToQtKey(unsigned virtualKey, bool* keypad = nullptr);

// True for the virtual keys of Shift, Ctrl, Alt and the Windows keys: a hotkey input control
// waits for another key while only these are held.
bool IsModifierVirtualKey(unsigned virtualKey);

// Qt keyboard modifiers (Qt::KeyboardModifiers as int) <-> hotkey input control flags
// (HOTKEYF_SHIFT 1, HOTKEYF_CONTROL 2, HOTKEYF_ALT 4). Other modifiers are dropped.
unsigned QtModifiersToControlFlags(int qtModifiers);
int ControlFlagsToQtModifiers(unsigned controlFlags);

// The combination as a Windows hotkey control writes it, in UTF-8: "Ctrl + Alt + T",
// "Shift + F5", "Num 7". Empty for virtual key 0 without modifiers.
std::string HotkeyDisplayText(unsigned controlFlags, unsigned virtualKey);

}  // namespace platform
