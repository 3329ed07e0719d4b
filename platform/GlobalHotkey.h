#pragma once

#include <QObject>

#include <memory>

// A system-wide hotkey. Combinations use the stored encoding of core/HotkeyValue.h: modifiers as
// registration flags (Alt 1, Ctrl 2, Shift 4) and a Windows virtual-key code. The backend is chosen
// by the build (X11 key grab on the root window, RegisterHotKey on Windows, none elsewhere).
//
// Usage (UI thread, after QApplication exists):
//   auto hotkey = platform::CreateGlobalHotkey();
//   connect(hotkey.get(), &platform::IGlobalHotkey::activated, this, [](int id) { ... });
//   if (!hotkey->Register(hotkey::kHotkeyId, combo.modifiers, combo.virtualKey)) { /* refused */ }
namespace platform {

class IGlobalHotkey : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~IGlobalHotkey() override = default;

    // Makes the combination deliver activated(id) from anywhere on the desktop.
    // virtualKey 0 means "no hotkey": nothing is grabbed and the call succeeds.
    // Returns false when the system refuses the combination (another program holds it, unknown
    // key, no hotkey support). Every combination registered stays active until this object is
    // destroyed; registering a new one does not release the old ones.
    virtual bool Register(int id, unsigned modifiers, unsigned virtualKey) = 0;

signals:
    // Emitted on the UI thread when a registered combination is pressed.
    void activated(int id);
};

// The backend for this platform. Never null.
std::unique_ptr<IGlobalHotkey> CreateGlobalHotkey(QObject* parent = nullptr);

}  // namespace platform
