#include <gtest/gtest.h>

#include "core/HotkeyValue.h"
#include "platform/VirtualKeyMap.h"
#include "platform/portal/PortalTrigger.h"

namespace {

using hotkey::Combination;
using platform::portal::FromPortalTrigger;
using platform::portal::ToPortalTrigger;

TEST(PortalTrigger, WritesModifiersAndTheKeysymName) {
    EXPECT_EQ(ToPortalTrigger(hotkey::Decode(196692)), "CTRL+ALT+t");
    EXPECT_EQ(ToPortalTrigger({hotkey::kModShift, platform::vk::kF1 + 4}), "SHIFT+F5");
    EXPECT_EQ(ToPortalTrigger({hotkey::kModControl | hotkey::kModShift, platform::vk::kOem4}),
              "CTRL+SHIFT+bracketleft");
    EXPECT_EQ(ToPortalTrigger({0, platform::vk::kNumpad0 + 7}), "KP_7");
    EXPECT_EQ(ToPortalTrigger({hotkey::kModControl, 0}), "");
    EXPECT_EQ(ToPortalTrigger({hotkey::kModControl, 0xFF}), "");  // no such key
}

// Every key the settings dialog can assign, with every modifier set, comes back unchanged.
TEST(PortalTrigger, EveryAssignableCombinationRoundTrips) {
    int keys = 0;
    for (unsigned virtualKey = 1; virtualKey <= 0xFF; ++virtualKey) {
        if (platform::VirtualKeyToQtKey(virtualKey) == 0 ||
            platform::IsModifierVirtualKey(virtualKey)) {
            continue;  // the hotkey input cannot hold it
        }
        ++keys;
        for (unsigned modifiers = 0; modifiers < 8; ++modifiers) {
            const Combination combination{modifiers, virtualKey};
            const std::string trigger = ToPortalTrigger(combination);
            ASSERT_FALSE(trigger.empty()) << "virtual key " << virtualKey;
            EXPECT_EQ(FromPortalTrigger(trigger), combination) << trigger;
        }
    }
    EXPECT_GT(keys, 100);
}

TEST(PortalTrigger, ReadsTheDesktopsDescriptionsAndRefusesWhatTheValueCannotHold) {
    EXPECT_EQ(FromPortalTrigger("Ctrl+Alt+T"), hotkey::Decode(196692));
    EXPECT_EQ(FromPortalTrigger("shift+Space"), (Combination{hotkey::kModShift, 0x20}));
    EXPECT_EQ(FromPortalTrigger("F12"), (Combination{0, platform::vk::kF1 + 11}));
    EXPECT_EQ(FromPortalTrigger("LOGO+t"), std::nullopt);
    EXPECT_EQ(FromPortalTrigger("Meta+T"), std::nullopt);
    EXPECT_EQ(FromPortalTrigger("CTRL+"), std::nullopt);
    EXPECT_EQ(FromPortalTrigger("CTRL+nosuchkey"), std::nullopt);
    EXPECT_EQ(FromPortalTrigger(""), std::nullopt);
}

}  // namespace
