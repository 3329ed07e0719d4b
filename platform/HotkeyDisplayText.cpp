#include <cstdio>
#include <utility>

#include "core/HotkeyValue.h"
#include "platform/VirtualKeyMap.h"

namespace platform {
namespace {

std::string KeyName(unsigned virtualKey) {
    if ((virtualKey >= vk::kDigit0 && virtualKey <= vk::kDigit9) ||
        (virtualKey >= vk::kLetterA && virtualKey <= vk::kLetterZ)) {
        return std::string(1, static_cast<char>(virtualKey));
    }
    // Appended rather than "F" + std::to_string(...): GCC 12 at -O3 warns falsely (-Wrestrict)
    // about the insert at the front that the operator does.
    if (virtualKey >= vk::kF1 && virtualKey <= vk::kF24) {
        return std::string("F").append(std::to_string(virtualKey - vk::kF1 + 1));
    }
    if (virtualKey >= vk::kNumpad0 && virtualKey <= vk::kNumpad9) {
        return std::string("Num ").append(std::to_string(virtualKey - vk::kNumpad0));
    }
    static constexpr std::pair<unsigned, const char*> kNames[] = {
        {vk::kBack, "Backspace"},
        {vk::kTab, "Tab"},
        {vk::kReturn, "Enter"},
        {vk::kPause, "Pause"},
        {vk::kCapital, "Caps Lock"},
        {vk::kEscape, "Esc"},
        {vk::kSpace, "Space"},
        {vk::kPrior, "Page Up"},
        {vk::kNext, "Page Down"},
        {vk::kEnd, "End"},
        {vk::kHome, "Home"},
        {vk::kLeft, "Left"},
        {vk::kUp, "Up"},
        {vk::kRight, "Right"},
        {vk::kDown, "Down"},
        {vk::kSnapshot, "Print Screen"},
        {vk::kInsert, "Insert"},
        {vk::kDelete, "Delete"},
        {vk::kHelp, "Help"},
        {vk::kApps, "Application"},
        {vk::kMultiply, "Num *"},
        {vk::kAdd, "Num +"},
        {vk::kSeparator, "Num ,"},
        {vk::kSubtract, "Num -"},
        {vk::kDecimal, "Num Del"},
        {vk::kDivide, "Num /"},
        {vk::kNumLock, "Num Lock"},
        {vk::kScroll, "Scroll Lock"},
        {vk::kOem1, ";"},
        {vk::kOemPlus, "="},
        {vk::kOemComma, ","},
        {vk::kOemMinus, "-"},
        {vk::kOemPeriod, "."},
        {vk::kOem2, "/"},
        {vk::kOem3, "`"},
        {vk::kOem4, "["},
        {vk::kOem5, "\\"},
        {vk::kOem6, "]"},
        {vk::kOem7, "'"},
        {vk::kOem102, "\\"},
    };
    for (const auto& [code, name] : kNames) {
        if (code == virtualKey) {
            return name;
        }
    }
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%02X", virtualKey & 0xFFFFu);
    return buffer;
}

}  // namespace

std::string HotkeyDisplayText(unsigned controlFlags, unsigned virtualKey) {
    std::string text;
    if ((controlFlags & hotkey::kHotkeyfControl) != 0) {
        text += "Ctrl + ";
    }
    if ((controlFlags & hotkey::kHotkeyfShift) != 0) {
        text += "Shift + ";
    }
    if ((controlFlags & hotkey::kHotkeyfAlt) != 0) {
        text += "Alt + ";
    }
    if (virtualKey != 0) {
        text += KeyName(virtualKey);
    } else if (!text.empty()) {
        text.resize(text.size() - 3);  // "Ctrl + " -> "Ctrl"
    }
    return text;
}

}  // namespace platform
