// Presses key combinations in a KWin Wayland session through KWin's fake-input protocol, as a
// keyboard would: `termix-e2e-fake-key ctrl+alt+t [COMBINATION...]`. Keys: a-z, 0-9, f1-f12,
// ctrl, alt, shift, esc. KWin offers the protocol to this client when it runs with
// KWIN_WAYLAND_NO_PERMISSION_CHECKS=1. Exit status 0 when every key was sent, 2 on a bad
// argument, 1 when the compositor cannot be reached or does not offer the protocol.
#include <linux/input-event-codes.h>
#include <wayland-client.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "fake-input-client-protocol.h"

namespace {

org_kde_kwin_fake_input* g_fakeInput = nullptr;

void OnGlobal(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    if (std::strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0) {
        g_fakeInput = static_cast<org_kde_kwin_fake_input*>(
            wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 4));
    }
}

void OnGlobalRemove(void*, wl_registry*, uint32_t) {}

const wl_registry_listener kRegistryListener = {OnGlobal, OnGlobalRemove};

int KeyCode(const std::string& name) {
    static const char* const kLetters = "abcdefghijklmnopqrstuvwxyz";
    static const int kLetterCodes[] = {
        KEY_A, KEY_B, KEY_C, KEY_D, KEY_E, KEY_F, KEY_G, KEY_H, KEY_I, KEY_J, KEY_K, KEY_L, KEY_M,
        KEY_N, KEY_O, KEY_P, KEY_Q, KEY_R, KEY_S, KEY_T, KEY_U, KEY_V, KEY_W, KEY_X, KEY_Y, KEY_Z};
    if (name.size() == 1 && name[0] >= 'a' && name[0] <= 'z') {
        return kLetterCodes[std::strchr(kLetters, name[0]) - kLetters];
    }
    if (name.size() == 1 && name[0] >= '1' && name[0] <= '9') {
        return KEY_1 + (name[0] - '1');
    }
    if (name == "0") {
        return KEY_0;
    }
    if (name.size() >= 2 && name[0] == 'f') {
        const int number = std::atoi(name.c_str() + 1);
        if (number >= 1 && number <= 10) {
            return KEY_F1 + number - 1;
        }
        if (number == 11 || number == 12) {
            return KEY_F11 + number - 11;
        }
    }
    if (name == "ctrl") {
        return KEY_LEFTCTRL;
    }
    if (name == "alt") {
        return KEY_LEFTALT;
    }
    if (name == "shift") {
        return KEY_LEFTSHIFT;
    }
    if (name == "esc") {
        return KEY_ESC;
    }
    return -1;
}

bool ParseCombination(const std::string& text, std::vector<int>& codes) {
    size_t start = 0;
    for (;;) {
        const size_t plus = text.find('+', start);
        const int code = KeyCode(text.substr(start, plus - start));
        if (code < 0) {
            return false;
        }
        codes.push_back(code);
        if (plus == std::string::npos) {
            return true;
        }
        start = plus + 1;
    }
}

void SendKey(wl_display* display, int code, bool pressed) {
    org_kde_kwin_fake_input_keyboard_key(g_fakeInput, static_cast<uint32_t>(code),
                                         pressed ? 1u : 0u);
    wl_display_roundtrip(display);
}

}  // namespace

int main(int argc, char* argv[]) {
    std::vector<std::vector<int>> combinations;
    for (int i = 1; i < argc; ++i) {
        std::vector<int> codes;
        if (!ParseCombination(argv[i], codes)) {
            std::fprintf(stderr, "unknown key in %s\n", argv[i]);
            return 2;
        }
        combinations.push_back(codes);
    }
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "no Wayland compositor\n");
        return 1;
    }
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistryListener, nullptr);
    wl_display_roundtrip(display);
    if (g_fakeInput == nullptr) {
        std::fprintf(stderr, "the compositor offers no org_kde_kwin_fake_input\n");
        wl_display_disconnect(display);
        return 1;
    }
    org_kde_kwin_fake_input_authenticate(g_fakeInput, "termix e2e", "key presses of a test");
    for (const std::vector<int>& codes : combinations) {
        for (int code : codes) {
            SendKey(display, code, true);
        }
        for (auto it = codes.rbegin(); it != codes.rend(); ++it) {
            SendKey(display, *it, false);
        }
    }
    org_kde_kwin_fake_input_destroy(g_fakeInput);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return 0;
}
