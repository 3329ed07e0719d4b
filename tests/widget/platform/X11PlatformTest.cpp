#include <xcb/xcb.h>

#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "XvfbServer.h"
#include "core/HotkeyValue.h"
#include "platform/GlobalHotkey.h"
#include "platform/NativeWindow.h"
#include "platform/ShowRequestReceiver.h"
#include "platform/VirtualKeyMap.h"
#include "platform/WindowActivation.h"
#include "platform/x11/KeysymTable.h"
#include "platform/x11/X11Keyboard.h"

namespace {

const QString kTitle = QStringLiteral("Termix v1.2 (Vantrel英汉术语词典)");

// A second X client, as another program on the same desktop.
class OtherClient {
public:
    OtherClient() : m_connection(xcb_connect(nullptr, nullptr)) {
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    }
    ~OtherClient() { xcb_disconnect(m_connection); }

    // Grabs the combination the way any hotkey program would; true when the server granted it.
    bool GrabKey(unsigned modifiers, unsigned virtualKey) {
        platform::x11::CX11Keyboard keyboard(m_connection);
        const auto keycodes = keyboard.KeycodesFor(platform::x11::VirtualKeyToKeysym(virtualKey));
        if (keycodes.empty()) {
            return false;
        }
        xcb_generic_error_t* error = xcb_request_check(
            m_connection,
            xcb_grab_key_checked(m_connection, 0, m_root, keyboard.ToModifierMask(modifiers),
                                 keycodes.front(), XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        std::free(error);
        return error == nullptr;
    }

    // An unmapped top-level window with the given title in _NET_WM_NAME (UTF-8) or in WM_NAME
    // (Latin-1).
    xcb_window_t CreateTitledWindow(const QByteArray& title, bool netWmName) {
        const xcb_window_t window = xcb_generate_id(m_connection);
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, window, m_root, 10, 10, 200, 100, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
        const xcb_atom_t property = netWmName ? Atom("_NET_WM_NAME") : xcb_atom_t{XCB_ATOM_WM_NAME};
        const xcb_atom_t type = netWmName ? Atom("UTF8_STRING") : xcb_atom_t{XCB_ATOM_STRING};
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window, property, type, 8,
                            static_cast<uint32_t>(title.size()), title.constData());
        xcb_flush(m_connection);
        return window;
    }

    bool IsMapped(xcb_window_t window) {
        xcb_get_window_attributes_reply_t* reply = xcb_get_window_attributes_reply(
            m_connection, xcb_get_window_attributes(m_connection, window), nullptr);
        const bool mapped = reply != nullptr && reply->map_state != XCB_MAP_STATE_UNMAPPED;
        std::free(reply);
        return mapped;
    }

private:
    xcb_atom_t Atom(const char* name) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            m_connection,
            xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
            nullptr);
        const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        std::free(reply);
        return atom;
    }

    xcb_connection_t* m_connection;
    xcb_window_t m_root;
};

bool SendKeys(const QString& keys) {
    return QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), keys}) == 0;
}

}  // namespace

// The X11 backends against a real X server (a private Xvfb, no window manager).
class X11PlatformTest : public QObject {
    Q_OBJECT

private slots:
    void aRegisteredHotkeyReportsItsIdFromAnywhere() {
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()) {
            QSKIP("xdotool is not installed");
        }
        auto hotkey = platform::CreateGlobalHotkey();
        QSignalSpy spy(hotkey.get(), &platform::IGlobalHotkey::activated);
        QVERIFY(hotkey->Register(hotkey::kHotkeyId, hotkey::kModControl | hotkey::kModAlt, 'T'));

        // Also while one of our own windows has the keyboard focus: the edit gets nothing.
        QLineEdit edit;
        edit.show();
        QVERIFY(QTest::qWaitForWindowExposed(&edit));
        edit.activateWindow();
        QTRY_VERIFY(QApplication::activeWindow() == &edit);
        edit.setFocus();
        QVERIFY(SendKeys(QStringLiteral("x")));
        QTRY_COMPARE(edit.text(), QStringLiteral("x"));
        edit.clear();
        QVERIFY(SendKeys(QStringLiteral("ctrl+alt+t")));
        QTRY_COMPARE(spy.size(), 1);
        QCOMPARE(spy[0][0].toInt(), hotkey::kHotkeyId);
        QVERIFY(edit.text().isEmpty());

        // Without the modifiers the key is the program's key as before.
        QVERIFY(SendKeys(QStringLiteral("t")));
        QTRY_COMPARE(edit.text(), QStringLiteral("t"));
        QCOMPARE(spy.size(), 1);

        // A second combination does not release the first.
        QVERIFY(hotkey->Register(hotkey::kHotkeyId, hotkey::kModShift, platform::vk::kF1 + 8));
        QVERIFY(SendKeys(QStringLiteral("shift+F9")));
        QTRY_COMPARE(spy.size(), 2);
        QVERIFY(SendKeys(QStringLiteral("ctrl+alt+t")));
        QTRY_COMPARE(spy.size(), 3);
    }

    void aCombinationHeldByAnotherProgramIsRefused() {
        OtherClient other;
        QVERIFY(other.GrabKey(hotkey::kModControl | hotkey::kModShift, platform::vk::kF1 + 4));
        auto hotkey = platform::CreateGlobalHotkey();
        QVERIFY(!hotkey->Register(hotkey::kHotkeyId, hotkey::kModControl | hotkey::kModShift,
                                  platform::vk::kF1 + 4));
        // The refusal took nothing: a free combination still registers.
        QVERIFY(hotkey->Register(hotkey::kHotkeyId, hotkey::kModControl | hotkey::kModShift,
                                 platform::vk::kF1 + 5));
        // And the other way round: what we hold, the other program cannot take.
        QVERIFY(!other.GrabKey(hotkey::kModControl | hotkey::kModShift, platform::vk::kF1 + 5));
    }

    void noKeyGrabsNothingAndSucceeds() {
        auto hotkey = platform::CreateGlobalHotkey();
        QVERIFY(hotkey->Register(hotkey::kHotkeyId, 0, 0));
        QVERIFY(hotkey->Register(hotkey::kHotkeyId, hotkey::kModControl, 0));
        OtherClient other;
        QVERIFY(other.GrabKey(hotkey::kModControl, 'Q'));
        // A virtual key with no X equivalent is refused rather than grabbing something else.
        QVERIFY(!hotkey->Register(hotkey::kHotkeyId, hotkey::kModControl, 0xFF));
    }

    void aSecondCopyAsksOurHiddenWindowToShowItself() {
        QWidget window;
        window.setWindowTitle(kTitle);
        platform::EnsureNativeWindow(&window);
        auto receiver = platform::CreateShowRequestReceiver();
        receiver->Watch(&window);
        QSignalSpy spy(receiver.get(), &platform::IShowRequestReceiver::showRequested);

        QVERIFY(platform::ActivateExistingWindow(kTitle.toStdString()));
        QTRY_COMPARE(spy.size(), 1);
        // Nobody mapped the window behind Qt's back.
        OtherClient other;
        QVERIFY(!other.IsMapped(static_cast<xcb_window_t>(window.winId())));
        QVERIFY(!window.isVisible());

        // A title that only starts with the main title is not the main title.
        QVERIFY(!platform::ActivateExistingWindow(kTitle.toStdString().substr(0, 10)));
        QVERIFY(!platform::ActivateExistingWindow(kTitle.toStdString() + " "));
    }

    void anotherProgramsWindowWithTheTitleIsRestored() {
        OtherClient other;
        const QByteArray title = "Some Other Program";
        const xcb_window_t viaNetWmName = other.CreateTitledWindow(title, true);
        QVERIFY(platform::ActivateExistingWindow(title.toStdString()));
        QTRY_VERIFY(other.IsMapped(viaNetWmName));

        const QByteArray latin1 = "Caf\xe9 window";  // WM_NAME in Latin-1
        const xcb_window_t viaWmName = other.CreateTitledWindow(latin1, false);
        QVERIFY(platform::ActivateExistingWindow("Caf\xc3\xa9 window"));
        QTRY_VERIFY(other.IsMapped(viaWmName));
    }

    void showAndHideKeepQtAndTheServerInStep() {
        QWidget window;
        window.setWindowTitle(kTitle);
        platform::EnsureNativeWindow(&window);
        OtherClient other;
        const auto id = static_cast<xcb_window_t>(window.winId());

        platform::ShowWindowInFront(&window);
        QVERIFY(window.isVisible());
        QTRY_VERIFY(other.IsMapped(id));

        platform::MinimiseAndHideWindow(&window);
        QVERIFY(!window.isVisible());
        QTRY_VERIFY(!other.IsMapped(id));

        platform::ShowWindowInFront(&window);
        QVERIFY(window.isVisible());
        QVERIFY(!window.isMinimized());
        QTRY_VERIFY(other.IsMapped(id));
    }
};

int main(int argc, char** argv) {
    XvfbServer server;
    if (!server.Start()) {
        std::puts("SKIP: no Xvfb could be started");
        return 77;
    }
    setenv("DISPLAY", server.Display().c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    QApplication app(argc, argv);
    X11PlatformTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "X11PlatformTest.moc"
