#include <gtest/gtest.h>

#include <Qt>

#include "core/HotkeyValue.h"
#include "platform/VirtualKeyMap.h"

namespace {

using namespace platform;

TEST(QtKeyToVirtualKey, LettersDigitsAndFunctionKeys) {
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_T, false), 84u);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_A, false), 0x41u);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Z, false), 0x5Au);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_0, false), 0x30u);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_9, false), 0x39u);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_F1, false), 0x70u);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_F12, false), 0x7Bu);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_F24, false), 0x87u);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_F25, false), 0u);
}

TEST(QtKeyToVirtualKey, KeypadKeysMapToTheNumpadCodes) {
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_0, true), vk::kNumpad0);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_7, true), vk::kNumpad0 + 7);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Asterisk, true), vk::kMultiply);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Plus, true), vk::kAdd);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Minus, true), vk::kSubtract);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Slash, true), vk::kDivide);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Period, true), vk::kDecimal);
    // The keypad's Enter and, with NumLock off, its navigation keys are the ordinary keys.
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Enter, true), vk::kReturn);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Home, true), vk::kHome);
    // Off the keypad the same Qt keys are the punctuation keys.
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Plus, false), vk::kOemPlus);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Asterisk, false), 0x38u);  // Shift+8
}

TEST(QtKeyToVirtualKey, NavigationAndEditingKeys) {
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Left, false), 0x25u);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Up, false), 0x26u);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Right, false), 0x27u);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Down, false), 0x28u);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Home, false), 0x24u);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_End, false), 0x23u);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_PageUp, false), 0x21u);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_PageDown, false), 0x22u);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Insert, false), 0x2Du);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Delete, false), 0x2Eu);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Space, false), 0x20u);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Escape, false), 0x1Bu);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Backtab, false), vk::kTab);
}

TEST(QtKeyToVirtualKey, ShiftedCharactersMapToTheirKey) {
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Exclam, false), 0x31u);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_At, false), 0x32u);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_ParenRight, false), 0x30u);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Semicolon, false), vk::kOem1);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Colon, false), vk::kOem1);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Question, false), vk::kOem2);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_AsciiTilde, false), vk::kOem3);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_BraceLeft, false), vk::kOem4);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Bar, false), vk::kOem5);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_QuoteDbl, false), vk::kOem7);
}

TEST(QtKeyToVirtualKey, ModifiersAndUnknownKeysHaveNoCode) {
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Shift, false), 0u);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Control, false), 0u);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Alt, false), 0u);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_Meta, false), 0u);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_unknown, false), 0u);
    EXPECT_EQ(QtKeyToVirtualKey(Qt::Key_VolumeUp, false), 0u);
    EXPECT_EQ(QtKeyToVirtualKey(0, false), 0u);
    EXPECT_TRUE(IsModifierVirtualKey(vk::kShift));
    EXPECT_TRUE(IsModifierVirtualKey(vk::kMenu));
    EXPECT_TRUE(IsModifierVirtualKey(0xA3));  // right Ctrl
    EXPECT_FALSE(IsModifierVirtualKey('T'));
}

// Whatever virtual key the settings dialog shows for a stored value must come back unchanged
// when the user presses the key it names.
TEST(VirtualKeyToQtKey, EveryNamedVirtualKeyRoundTrips) {
    int mapped = 0;
    for (unsigned code = 1; code < 256; ++code) {
        bool keypad = false;
        const int key = VirtualKeyToQtKey(code, &keypad);
        if (key == 0 || IsModifierVirtualKey(code)) {
            continue;
        }
        ++mapped;
        EXPECT_EQ(QtKeyToVirtualKey(key, keypad), code) << "virtual key " << code;
    }
    // Letters, digits, F1-F24, numpad, punctuation, navigation: well over a hundred keys.
    EXPECT_GT(mapped, 100);
    EXPECT_EQ(VirtualKeyToQtKey(0), 0);
    EXPECT_EQ(VirtualKeyToQtKey(0xFF), 0);
}

TEST(ModifierConversion, QtModifiersToControlFlagsAndBack) {
    EXPECT_EQ(QtModifiersToControlFlags(Qt::ShiftModifier), hotkey::kHotkeyfShift);
    EXPECT_EQ(QtModifiersToControlFlags(Qt::ControlModifier | Qt::AltModifier),
              hotkey::kHotkeyfControl | hotkey::kHotkeyfAlt);
    // Meta and the keypad flag have no place in a Windows hotkey.
    EXPECT_EQ(QtModifiersToControlFlags(Qt::MetaModifier | Qt::KeypadModifier), 0u);
    for (unsigned flags = 0; flags < 8; ++flags) {
        EXPECT_EQ(QtModifiersToControlFlags(ControlFlagsToQtModifiers(flags)), flags);
    }
}

TEST(ModifierConversion, CtrlAltTFromAKeyEventIsStoredAs196692) {
    const unsigned flags = QtModifiersToControlFlags(Qt::ControlModifier | Qt::AltModifier);
    const unsigned key = QtKeyToVirtualKey(Qt::Key_T, false);
    EXPECT_EQ(hotkey::Encode(hotkey::ControlFlagsToMod(flags), key), 196692);
}

TEST(HotkeyDisplayText, WritesTheCombinationAsAHotkeyControlDoes) {
    using hotkey::kHotkeyfAlt;
    using hotkey::kHotkeyfControl;
    using hotkey::kHotkeyfShift;
    EXPECT_EQ(HotkeyDisplayText(kHotkeyfControl | kHotkeyfAlt, 'T'), "Ctrl + Alt + T");
    EXPECT_EQ(HotkeyDisplayText(kHotkeyfControl | kHotkeyfShift | kHotkeyfAlt, 'D'),
              "Ctrl + Shift + Alt + D");
    EXPECT_EQ(HotkeyDisplayText(kHotkeyfShift, vk::kF1 + 4), "Shift + F5");
    EXPECT_EQ(HotkeyDisplayText(0, vk::kNumpad0 + 7), "Num 7");
    EXPECT_EQ(HotkeyDisplayText(kHotkeyfAlt, vk::kOem1), "Alt + ;");
    EXPECT_EQ(HotkeyDisplayText(kHotkeyfControl, 0), "Ctrl");
    EXPECT_EQ(HotkeyDisplayText(0, 0), "");
    EXPECT_EQ(HotkeyDisplayText(0, 0xE9), "0xE9");
}

}  // namespace
