#pragma once

#include <cstdint>

// Windows virtual-key codes -> X keysyms (the unshifted symbol of a US layout), so the stored
// hotkey value grabs the same physical key on X11.
namespace platform::x11 {

// The keysym for a virtual key; 0 when the key has no X equivalent.
std::uint32_t VirtualKeyToKeysym(unsigned virtualKey);

}  // namespace platform::x11
