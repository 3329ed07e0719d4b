#include <gtest/gtest.h>

#include "core/HotkeyValue.h"

namespace {

using namespace hotkey;

TEST(HotkeyValue, StoredValuesOfTheDocumentedCombinations) {
    EXPECT_EQ(Encode(kModControl | kModAlt, 'T'), 196692);
    EXPECT_EQ(Encode(kModControl | kModAlt, 'D'), 196676);
    EXPECT_EQ(Decode(196692), (Combination{3, 84}));
    EXPECT_EQ(Decode(0), (Combination{0, 0}));
}

TEST(HotkeyValue, RoundTripsEveryModifierSet) {
    for (unsigned mods = 0; mods < 8; ++mods) {
        EXPECT_EQ(Decode(Encode(mods, 0x70)), (Combination{mods, 0x70}));
    }
}

TEST(HotkeyValue, ControlFlagConversionSwapsShiftAndAlt) {
    EXPECT_EQ(ModToControlFlags(kModAlt), kHotkeyfAlt);
    EXPECT_EQ(ModToControlFlags(kModShift), kHotkeyfShift);
    EXPECT_EQ(ModToControlFlags(kModControl), kHotkeyfControl);
    EXPECT_EQ(ModToControlFlags(kModControl | kModAlt), kHotkeyfControl | kHotkeyfAlt);
    EXPECT_EQ(ControlFlagsToMod(kHotkeyfShift | kHotkeyfAlt), kModShift | kModAlt);
    // Other bits (the control's extended-key flag 8, registration flags 8 and up) are dropped.
    EXPECT_EQ(ControlFlagsToMod(8 | kHotkeyfShift), kModShift);
    EXPECT_EQ(ModToControlFlags(0x18 | kModAlt), kHotkeyfAlt);
    for (unsigned f = 0; f < 8; ++f) {
        EXPECT_EQ(ControlFlagsToMod(ModToControlFlags(f)), f);
    }
}

}  // namespace
