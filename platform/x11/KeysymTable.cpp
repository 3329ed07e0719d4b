#include "platform/x11/KeysymTable.h"

#include <X11/keysym.h>

#include <utility>

#include "platform/VirtualKeyMap.h"

namespace platform::x11 {
namespace {

constexpr std::pair<unsigned, std::uint32_t> kTable[] = {
    {vk::kBack, XK_BackSpace},
    {vk::kTab, XK_Tab},
    {vk::kReturn, XK_Return},
    {vk::kPause, XK_Pause},
    {vk::kCapital, XK_Caps_Lock},
    {vk::kEscape, XK_Escape},
    {vk::kSpace, XK_space},
    {vk::kPrior, XK_Prior},
    {vk::kNext, XK_Next},
    {vk::kEnd, XK_End},
    {vk::kHome, XK_Home},
    {vk::kLeft, XK_Left},
    {vk::kUp, XK_Up},
    {vk::kRight, XK_Right},
    {vk::kDown, XK_Down},
    {vk::kSnapshot, XK_Print},
    {vk::kInsert, XK_Insert},
    {vk::kDelete, XK_Delete},
    {vk::kHelp, XK_Help},
    {vk::kLWin, XK_Super_L},
    {vk::kRWin, XK_Super_R},
    {vk::kApps, XK_Menu},
    {vk::kMultiply, XK_KP_Multiply},
    {vk::kAdd, XK_KP_Add},
    {vk::kSeparator, XK_KP_Separator},
    {vk::kSubtract, XK_KP_Subtract},
    {vk::kDecimal, XK_KP_Decimal},
    {vk::kDivide, XK_KP_Divide},
    {vk::kNumLock, XK_Num_Lock},
    {vk::kScroll, XK_Scroll_Lock},
    {vk::kOem1, XK_semicolon},
    {vk::kOemPlus, XK_equal},
    {vk::kOemComma, XK_comma},
    {vk::kOemMinus, XK_minus},
    {vk::kOemPeriod, XK_period},
    {vk::kOem2, XK_slash},
    {vk::kOem3, XK_grave},
    {vk::kOem4, XK_bracketleft},
    {vk::kOem5, XK_backslash},
    {vk::kOem6, XK_bracketright},
    {vk::kOem7, XK_apostrophe},
    {vk::kOem102, XK_less},
};

}  // namespace

std::uint32_t VirtualKeyToKeysym(unsigned virtualKey) {
    if (virtualKey >= vk::kLetterA && virtualKey <= vk::kLetterZ) {
        return XK_a + (virtualKey - vk::kLetterA);  // keymaps list the lower case first
    }
    if (virtualKey >= vk::kDigit0 && virtualKey <= vk::kDigit9) {
        return XK_0 + (virtualKey - vk::kDigit0);
    }
    if (virtualKey >= vk::kNumpad0 && virtualKey <= vk::kNumpad9) {
        return XK_KP_0 + (virtualKey - vk::kNumpad0);
    }
    if (virtualKey >= vk::kF1 && virtualKey <= vk::kF24) {
        return XK_F1 + (virtualKey - vk::kF1);
    }
    for (const auto& [code, keysym] : kTable) {
        if (code == virtualKey) {
            return keysym;
        }
    }
    return 0;
}

}  // namespace platform::x11
