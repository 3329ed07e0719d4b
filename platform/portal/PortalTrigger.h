#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/HotkeyValue.h"

// The stored hotkey value <-> the trigger text of the desktop portal's GlobalShortcuts interface,
// as the XDG shortcuts format writes it: the modifiers CTRL, ALT and SHIFT, then the key's XKB
// keysym name (the unshifted symbol of a US layout, as the X11 grab uses), joined by "+":
// Ctrl+Alt+T is "CTRL+ALT+t", Shift+F5 "SHIFT+F5", numpad 7 "KP_7".
namespace platform::portal {

// Empty for virtual key 0 and for a key that has no keysym.
std::string ToPortalTrigger(const hotkey::Combination& combination);

// Also reads the way desktops describe a bound key ("Ctrl+Alt+T", "Shift+Space"): names are
// taken in either case. Empty when the text names a key the stored value cannot hold or a
// modifier it has no bit for (LOGO, NUM, Meta).
std::optional<hotkey::Combination> FromPortalTrigger(std::string_view trigger);

}  // namespace platform::portal
