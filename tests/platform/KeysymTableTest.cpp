#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <map>

#include "platform/VirtualKeyMap.h"
#include "platform/x11/KeysymTable.h"

namespace {

using platform::x11::VirtualKeyToKeysym;
namespace vk = platform::vk;

TEST(KeysymTable, CharacterKeysUseTheUnshiftedSymbol) {
    EXPECT_EQ(VirtualKeyToKeysym('T'), static_cast<std::uint32_t>(XK_t));
    EXPECT_EQ(VirtualKeyToKeysym('A'), static_cast<std::uint32_t>(XK_a));
    EXPECT_EQ(VirtualKeyToKeysym('Z'), static_cast<std::uint32_t>(XK_z));
    EXPECT_EQ(VirtualKeyToKeysym('0'), static_cast<std::uint32_t>(XK_0));
    EXPECT_EQ(VirtualKeyToKeysym('9'), static_cast<std::uint32_t>(XK_9));
    EXPECT_EQ(VirtualKeyToKeysym(vk::kOem1), static_cast<std::uint32_t>(XK_semicolon));
    EXPECT_EQ(VirtualKeyToKeysym(vk::kOem3), static_cast<std::uint32_t>(XK_grave));
    EXPECT_EQ(VirtualKeyToKeysym(vk::kOem7), static_cast<std::uint32_t>(XK_apostrophe));
    EXPECT_EQ(VirtualKeyToKeysym(vk::kSpace), static_cast<std::uint32_t>(XK_space));
}

TEST(KeysymTable, FunctionNavigationAndNumpadKeys) {
    EXPECT_EQ(VirtualKeyToKeysym(vk::kF1), static_cast<std::uint32_t>(XK_F1));
    EXPECT_EQ(VirtualKeyToKeysym(vk::kF1 + 11), static_cast<std::uint32_t>(XK_F12));
    EXPECT_EQ(VirtualKeyToKeysym(vk::kF24), static_cast<std::uint32_t>(XK_F24));
    EXPECT_EQ(VirtualKeyToKeysym(vk::kPrior), static_cast<std::uint32_t>(XK_Page_Up));
    EXPECT_EQ(VirtualKeyToKeysym(vk::kNext), static_cast<std::uint32_t>(XK_Page_Down));
    EXPECT_EQ(VirtualKeyToKeysym(vk::kHome), static_cast<std::uint32_t>(XK_Home));
    EXPECT_EQ(VirtualKeyToKeysym(vk::kLeft), static_cast<std::uint32_t>(XK_Left));
    EXPECT_EQ(VirtualKeyToKeysym(vk::kInsert), static_cast<std::uint32_t>(XK_Insert));
    EXPECT_EQ(VirtualKeyToKeysym(vk::kDelete), static_cast<std::uint32_t>(XK_Delete));
    EXPECT_EQ(VirtualKeyToKeysym(vk::kNumpad0), static_cast<std::uint32_t>(XK_KP_0));
    EXPECT_EQ(VirtualKeyToKeysym(vk::kNumpad9), static_cast<std::uint32_t>(XK_KP_9));
    EXPECT_EQ(VirtualKeyToKeysym(vk::kAdd), static_cast<std::uint32_t>(XK_KP_Add));
    EXPECT_EQ(VirtualKeyToKeysym(vk::kDivide), static_cast<std::uint32_t>(XK_KP_Divide));
}

TEST(KeysymTable, EveryKeyTheSettingsDialogCanStoreCanBeGrabbed) {
    std::map<std::uint32_t, unsigned> seen;
    for (unsigned code = 1; code < 256; ++code) {
        if (platform::VirtualKeyToQtKey(code) == 0 || platform::IsModifierVirtualKey(code)) {
            continue;
        }
        const std::uint32_t keysym = VirtualKeyToKeysym(code);
        EXPECT_NE(keysym, 0u) << "virtual key " << code;
        // Two virtual keys on one keysym would make one hotkey answer for the other.
        const auto [it, inserted] = seen.emplace(keysym, code);
        EXPECT_TRUE(inserted) << "virtual keys " << it->second << " and " << code;
    }
}

TEST(KeysymTable, KeysWithoutAnXEquivalentAreRefused) {
    EXPECT_EQ(VirtualKeyToKeysym(0), 0u);
    EXPECT_EQ(VirtualKeyToKeysym(0x07), 0u);  // unassigned
    EXPECT_EQ(VirtualKeyToKeysym(0xFF), 0u);
    EXPECT_EQ(VirtualKeyToKeysym(0x10041), 0u);  // not a 16-bit virtual key
}

}  // namespace
