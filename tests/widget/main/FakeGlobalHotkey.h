#pragma once

#include <vector>

#include "platform/GlobalHotkey.h"

// A global hotkey that records what is registered, refuses or answers later on request; tests
// fire it with Press() and give a later answer with Finish().
class FakeGlobalHotkey : public platform::IGlobalHotkey {
public:
    struct Call {
        int id;
        unsigned modifiers;
        unsigned virtualKey;
    };

    platform::HotkeyRegistration Register(int id, unsigned modifiers,
                                          unsigned virtualKey) override {
        calls.push_back(Call{id, modifiers, virtualKey});
        if (answerLater) {
            return platform::HotkeyRegistration::kPending;
        }
        return refuse ? platform::HotkeyRegistration::kRefused
                      : platform::HotkeyRegistration::kRegistered;
    }
    bool IsDesktopWide() const override { return desktopWide; }
    void Press(int id) { emit activated(id); }
    void Finish(int id, bool registered) { emit registrationFinished(id, registered); }

    std::vector<Call> calls;
    bool refuse = false;
    bool answerLater = false;
    bool desktopWide = true;
};
