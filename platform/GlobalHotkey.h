#pragma once

#include <QObject>

#include <memory>

// A system-wide hotkey. Combinations use the stored encoding of core/HotkeyValue.h: modifiers as
// registration flags (Alt 1, Ctrl 2, Shift 4) and a Windows virtual-key code. The backend is chosen
// by the build and, on Linux, at run time: the desktop portal's GlobalShortcuts on a Wayland
// session that offers it, else an X11 key grab on the root window; RegisterHotKey on Windows; none
// elsewhere.
//
// Usage (UI thread, after QApplication exists):
//   auto hotkey = platform::CreateGlobalHotkey();
//   connect(hotkey.get(), &platform::IGlobalHotkey::activated, this, [](int id) { ... });
//   switch (hotkey->Register(hotkey::kHotkeyId, combo.modifiers, combo.virtualKey)) { ... }
namespace platform {

enum class HotkeyRegistration {
    kRegistered,
    kRefused,
    // The system answers later, through registrationFinished.
    kPending,
};

class IGlobalHotkey : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~IGlobalHotkey() override = default;

    // Makes the combination deliver activated(id) from anywhere on the desktop.
    // virtualKey 0 means "no hotkey": nothing is grabbed and the call succeeds.
    // kRefused when the system refuses the combination (another program holds it, unknown key, no
    // hotkey support). Where the system keeps several combinations (X11, Windows), every one
    // registered stays active until this object is destroyed; the portal keeps one per id, so
    // registering again under an id replaces its combination.
    virtual HotkeyRegistration Register(int id, unsigned modifiers, unsigned virtualKey) = 0;

    // False when a registered combination fires only while one of the program's own windows has
    // the focus (an X11 grab through XWayland on a Wayland desktop without the portal): the user
    // then has to bind a desktop shortcut to the program.
    virtual bool IsDesktopWide() const { return true; }

signals:
    // Emitted on the UI thread when a registered combination is pressed.
    void activated(int id);
    // The answer to a Register call that returned kPending.
    void registrationFinished(int id, bool registered);
};

// The backend for this platform. Never null.
std::unique_ptr<IGlobalHotkey> CreateGlobalHotkey(QObject* parent = nullptr);

}  // namespace platform
