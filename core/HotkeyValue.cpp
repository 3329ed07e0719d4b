#include "core/HotkeyValue.h"

namespace hotkey {

Combination Decode(long value) {
    const auto bits = static_cast<uint32_t>(value);
    return Combination{bits >> 16, bits & 0xFFFFu};
}

long Encode(unsigned modifiers, unsigned virtualKey) {
    const uint32_t bits = ((modifiers & 0xFFFFu) << 16) | (virtualKey & 0xFFFFu);
    return static_cast<long>(static_cast<int32_t>(bits));
}

namespace {
unsigned SwapOuterBits(unsigned flags) {
    return ((flags & 1u) << 2) | (flags & 2u) | ((flags & 4u) >> 2);
}
}  // namespace

unsigned ModToControlFlags(unsigned modifiers) {
    return SwapOuterBits(modifiers);
}

unsigned ControlFlagsToMod(unsigned controlFlags) {
    return SwapOuterBits(controlFlags);
}

}  // namespace hotkey
