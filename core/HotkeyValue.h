#pragma once

#include <cstdint>

// The stored hotkey value: modifiers in the high 16 bits (registration flags: Alt 1, Ctrl 2,
// Shift 4) and the Windows virtual-key code in the low 16 bits. The hotkey input control uses
// other flags (Shift 1, Ctrl 2, Alt 4).
namespace hotkey {

constexpr int kHotkeyId = 1026;

enum ModFlags : unsigned { kModAlt = 1, kModControl = 2, kModShift = 4 };
enum ControlFlags : unsigned { kHotkeyfShift = 1, kHotkeyfControl = 2, kHotkeyfAlt = 4 };

struct Combination {
    unsigned modifiers = 0;   // registration flags
    unsigned virtualKey = 0;  // 0: no hotkey
    bool operator==(const Combination& o) const {
        return modifiers == o.modifiers && virtualKey == o.virtualKey;
    }
};

// A stored value split into registration flags and key.
Combination Decode(long value);
// Registration flags and key joined into the stored value.
long Encode(unsigned modifiers, unsigned virtualKey);

// Registration flags -> control flags and back: bit 0 and bit 2 swap, bit 1 stays, every other
// bit is dropped.
unsigned ModToControlFlags(unsigned modifiers);
unsigned ControlFlagsToMod(unsigned controlFlags);

}  // namespace hotkey
