#include "platform/portal/PortalTrigger.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <cctype>

#include "platform/x11/KeysymTable.h"

namespace platform::portal {
namespace {

struct ModifierName {
    unsigned flag;
    const char* name;
};
constexpr ModifierName kModifiers[] = {
    {hotkey::kModControl, "CTRL"},
    {hotkey::kModAlt, "ALT"},
    {hotkey::kModShift, "SHIFT"},
};

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// The virtual key whose unshifted keysym is `keysym`; 0 when there is none.
unsigned VirtualKeyOfKeysym(KeySym keysym) {
    if (keysym >= XK_A && keysym <= XK_Z) {
        keysym += XK_a - XK_A;  // "T" names the same key as "t"
    }
    for (unsigned virtualKey = 1; virtualKey <= 0xFF; ++virtualKey) {
        if (x11::VirtualKeyToKeysym(virtualKey) == keysym) {
            return virtualKey;
        }
    }
    return 0;
}

}  // namespace

std::string ToPortalTrigger(const hotkey::Combination& combination) {
    const std::uint32_t keysym = x11::VirtualKeyToKeysym(combination.virtualKey);
    const char* keyName = keysym != 0 ? XKeysymToString(keysym) : nullptr;
    if (keyName == nullptr) {
        return {};
    }
    std::string trigger;
    for (const ModifierName& modifier : kModifiers) {
        if ((combination.modifiers & modifier.flag) != 0) {
            trigger += modifier.name;
            trigger += '+';
        }
    }
    return trigger + keyName;
}

std::optional<hotkey::Combination> FromPortalTrigger(std::string_view trigger) {
    hotkey::Combination combination;
    for (size_t plus; (plus = trigger.find('+')) != std::string_view::npos;) {
        const std::string_view name = trigger.substr(0, plus);
        bool known = false;
        for (const ModifierName& modifier : kModifiers) {
            if (EqualsIgnoringCase(name, modifier.name)) {
                combination.modifiers |= modifier.flag;
                known = true;
            }
        }
        if (!known) {
            return std::nullopt;
        }
        trigger.remove_prefix(plus + 1);
    }
    std::string name(trigger);
    KeySym keysym = XStringToKeysym(name.c_str());
    if (keysym == NoSymbol) {
        // Desktops describe keys with capitals ("Space"); keysym names of such keys are lower case.
        for (char& c : name) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        keysym = XStringToKeysym(name.c_str());
    }
    combination.virtualKey = keysym != NoSymbol ? VirtualKeyOfKeysym(keysym) : 0;
    if (combination.virtualKey == 0) {
        return std::nullopt;
    }
    return combination;
}

}  // namespace platform::portal
