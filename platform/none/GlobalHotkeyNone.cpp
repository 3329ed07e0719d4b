#include "platform/GlobalHotkey.h"

namespace platform {
namespace {

// A platform without system-wide hotkeys: every real combination is refused.
class CGlobalHotkeyNone : public IGlobalHotkey {
public:
    using IGlobalHotkey::IGlobalHotkey;
    HotkeyRegistration Register(int, unsigned, unsigned virtualKey) override {
        return virtualKey == 0 ? HotkeyRegistration::kRegistered : HotkeyRegistration::kRefused;
    }
};

}  // namespace

std::unique_ptr<IGlobalHotkey> CreateGlobalHotkey(QObject* parent) {
    return std::make_unique<CGlobalHotkeyNone>(parent);
}

}  // namespace platform
