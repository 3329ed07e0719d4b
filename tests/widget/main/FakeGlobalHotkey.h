#pragma once

#include <vector>

#include "platform/GlobalHotkey.h"

// A global hotkey that records what is registered and refuses on request; tests fire it with
// Press().
class FakeGlobalHotkey : public platform::IGlobalHotkey {
public:
    struct Call {
        int id;
        unsigned modifiers;
        unsigned virtualKey;
    };

    bool Register(int id, unsigned modifiers, unsigned virtualKey) override {
        calls.push_back(Call{id, modifiers, virtualKey});
        return !refuse;
    }
    void Press(int id) { emit activated(id); }

    std::vector<Call> calls;
    bool refuse = false;
};
