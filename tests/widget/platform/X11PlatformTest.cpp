#include <xcb/xcb.h>

#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "../QtGTest.h"
#include "UnavailableTool.h"
#include "XvfbServer.h"
#include "core/HotkeyValue.h"
#include "platform/GlobalHotkey.h"
#include "platform/NativeWindow.h"
#include "platform/ShowRequestReceiver.h"
#include "platform/VirtualKeyMap.h"
#include "platform/WindowActivation.h"
#include "platform/x11/KeysymTable.h"
#include "platform/x11/X11Connection.h"
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
        const platform::x11::CX11Keyboard keyboard(m_connection);
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

    // The keycodes that carry the key of `virtualKey` now.
    std::vector<xcb_keycode_t> KeycodesOf(unsigned virtualKey) {
        const platform::x11::CX11Keyboard keyboard(m_connection);
        return keyboard.KeycodesFor(platform::x11::VirtualKeyToKeysym(virtualKey));
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

constexpr auto kRegistered = platform::HotkeyRegistration::kRegistered;
constexpr auto kRefused = platform::HotkeyRegistration::kRefused;

bool SendKeys(const QString& keys) {
    return QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), keys}) == 0;
}

}  // namespace

// The X11 backends against a real X server (a private Xvfb, no window manager).
class X11PlatformTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()) {
            SKIP_FOR_UNAVAILABLE_TOOL("xdotool is not installed");
        }
    }
};

TEST_F(X11PlatformTest, ARegisteredHotkeyReportsItsIdFromAnywhere) {
    auto hotkey = platform::CreateGlobalHotkey();
    QSignalSpy spy(hotkey.get(), &platform::IGlobalHotkey::activated);
    EXPECT_EQ(hotkey->Register(hotkey::kHotkeyId, hotkey::kModControl | hotkey::kModAlt, 'T'),
              kRegistered);

    // Also while one of our own windows has the keyboard focus: the edit gets nothing.
    QLineEdit edit;
    edit.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&edit));
    edit.activateWindow();
    TRY_EXPECT_TRUE(QApplication::activeWindow() == &edit);
    edit.setFocus();
    EXPECT_TRUE(SendKeys(QStringLiteral("x")));
    TRY_EXPECT_EQ(edit.text(), QStringLiteral("x"));
    edit.clear();
    EXPECT_TRUE(SendKeys(QStringLiteral("ctrl+alt+t")));
    TRY_EXPECT_EQ(spy.size(), 1);
    EXPECT_EQ(spy[0][0].toInt(), hotkey::kHotkeyId);
    EXPECT_TRUE(edit.text().isEmpty());

    // Without the modifiers the key is the program's key as before.
    EXPECT_TRUE(SendKeys(QStringLiteral("t")));
    TRY_EXPECT_EQ(edit.text(), QStringLiteral("t"));
    EXPECT_EQ(spy.size(), 1);

    // A second combination does not release the first.
    EXPECT_EQ(hotkey->Register(hotkey::kHotkeyId, hotkey::kModShift, platform::vk::kF1 + 8),
              kRegistered);
    EXPECT_TRUE(SendKeys(QStringLiteral("shift+F9")));
    TRY_EXPECT_EQ(spy.size(), 2);
    EXPECT_TRUE(SendKeys(QStringLiteral("ctrl+alt+t")));
    TRY_EXPECT_EQ(spy.size(), 3);
}

TEST_F(X11PlatformTest, TheHotkeyFollowsTheKeyWhenTheKeyboardMappingChanges) {
    if (QStandardPaths::findExecutable(QStringLiteral("xmodmap")).isEmpty()) {
        SKIP_FOR_UNAVAILABLE_TOOL("xmodmap is not installed");
    }
    auto hotkey = platform::CreateGlobalHotkey();
    QSignalSpy spy(hotkey.get(), &platform::IGlobalHotkey::activated);
    ASSERT_EQ(hotkey->Register(hotkey::kHotkeyId, hotkey::kModControl | hotkey::kModAlt, 'T'),
              kRegistered);
    EXPECT_TRUE(SendKeys(QStringLiteral("ctrl+alt+t")));
    TRY_EXPECT_EQ(spy.size(), 1);

    // "t" moves to another key, as a layout switch would move it.
    OtherClient other;
    const auto before = other.KeycodesOf('T');
    ASSERT_FALSE(before.empty());
    constexpr int kSpareKeycode = 250;
    QStringList expressions;
    for (const xcb_keycode_t keycode : before) {
        expressions << QStringLiteral("-e") << QStringLiteral("keycode %1 =").arg(keycode);
    }
    expressions << QStringLiteral("-e") << QStringLiteral("keycode %1 = t T").arg(kSpareKeycode);
    ASSERT_EQ(QProcess::execute(QStringLiteral("xmodmap"), expressions), 0);
    TRY_EXPECT_TRUE(other.KeycodesOf('T') == std::vector<xcb_keycode_t>{kSpareKeycode});
    QTest::qWait(200);  // the mapping events reach the program

    EXPECT_TRUE(SendKeys(QStringLiteral("ctrl+alt+t")));
    TRY_EXPECT_EQ(spy.size(), 2);
}

TEST_F(X11PlatformTest, ACombinationHeldByAnotherProgramIsRefused) {
    OtherClient other;
    EXPECT_TRUE(other.GrabKey(hotkey::kModControl | hotkey::kModShift, platform::vk::kF1 + 4));
    auto hotkey = platform::CreateGlobalHotkey();
    EXPECT_EQ(hotkey->Register(hotkey::kHotkeyId, hotkey::kModControl | hotkey::kModShift,
                               platform::vk::kF1 + 4),
              kRefused);
    // The refusal took nothing: a free combination still registers.
    EXPECT_EQ(hotkey->Register(hotkey::kHotkeyId, hotkey::kModControl | hotkey::kModShift,
                               platform::vk::kF1 + 5),
              kRegistered);
    // And the other way round: what we hold, the other program cannot take.
    EXPECT_TRUE(!other.GrabKey(hotkey::kModControl | hotkey::kModShift, platform::vk::kF1 + 5));
}

TEST_F(X11PlatformTest, NoKeyGrabsNothingAndSucceeds) {
    auto hotkey = platform::CreateGlobalHotkey();
    EXPECT_EQ(hotkey->Register(hotkey::kHotkeyId, 0, 0), kRegistered);
    EXPECT_EQ(hotkey->Register(hotkey::kHotkeyId, hotkey::kModControl, 0), kRegistered);
    OtherClient other;
    EXPECT_TRUE(other.GrabKey(hotkey::kModControl, 'Q'));
    // A virtual key with no X equivalent is refused rather than grabbing something else.
    EXPECT_EQ(hotkey->Register(hotkey::kHotkeyId, hotkey::kModControl, 0xFF), kRefused);
}

TEST_F(X11PlatformTest, AtomsAskedTogetherComeBackInTheOrderOfTheirNames) {
    const auto x = platform::x11::GetQtConnection();
    ASSERT_TRUE(x.has_value());
    const std::vector<xcb_atom_t> atoms = platform::x11::InternAtoms(
        x->connection, {"TERMIX_TEST_FIRST", "WM_NAME", "TERMIX_TEST_SECOND"});
    ASSERT_EQ(atoms.size(), 3u);
    EXPECT_EQ(atoms[1], xcb_atom_t{XCB_ATOM_WM_NAME});
    EXPECT_NE(atoms[0], atoms[2]);
    EXPECT_EQ(atoms[0], platform::x11::InternAtom(x->connection, "TERMIX_TEST_FIRST"));
    EXPECT_EQ(atoms[2], platform::x11::InternAtom(x->connection, "TERMIX_TEST_SECOND"));
}

TEST_F(X11PlatformTest, ASecondCopyAsksOurHiddenWindowToShowItself) {
    QWidget window;
    window.setWindowTitle(kTitle);
    platform::EnsureNativeWindow(&window);
    auto receiver = platform::CreateShowRequestReceiver();
    receiver->Watch(&window);
    QSignalSpy spy(receiver.get(), &platform::IShowRequestReceiver::showRequested);

    EXPECT_TRUE(platform::ActivateExistingWindow(kTitle.toStdString()));
    TRY_EXPECT_EQ(spy.size(), 1);
    // Nobody mapped the window behind Qt's back.
    OtherClient other;
    EXPECT_TRUE(!other.IsMapped(static_cast<xcb_window_t>(window.winId())));
    EXPECT_TRUE(!window.isVisible());

    // A title that only starts with the main title is not the main title.
    EXPECT_TRUE(!platform::ActivateExistingWindow(kTitle.toStdString().substr(0, 10)));
    EXPECT_TRUE(!platform::ActivateExistingWindow(kTitle.toStdString() + " "));
}

TEST_F(X11PlatformTest, AnotherProgramsWindowWithTheTitleIsRestored) {
    OtherClient other;
    const QByteArray title = "Some Other Program";
    const xcb_window_t viaNetWmName = other.CreateTitledWindow(title, true);
    EXPECT_TRUE(platform::ActivateExistingWindow(title.toStdString()));
    TRY_EXPECT_TRUE(other.IsMapped(viaNetWmName));

    const QByteArray latin1 = "Caf\xe9 window";  // WM_NAME in Latin-1
    const xcb_window_t viaWmName = other.CreateTitledWindow(latin1, false);
    EXPECT_TRUE(platform::ActivateExistingWindow("Caf\xc3\xa9 window"));
    TRY_EXPECT_TRUE(other.IsMapped(viaWmName));
}

TEST_F(X11PlatformTest, ShowAndHideKeepQtAndTheServerInStep) {
    QWidget window;
    window.setWindowTitle(kTitle);
    platform::EnsureNativeWindow(&window);
    OtherClient other;
    const auto id = static_cast<xcb_window_t>(window.winId());

    platform::ShowWindowInFront(&window);
    EXPECT_TRUE(window.isVisible());
    TRY_EXPECT_TRUE(other.IsMapped(id));

    platform::MinimiseAndHideWindow(&window);
    EXPECT_TRUE(!window.isVisible());
    TRY_EXPECT_TRUE(!other.IsMapped(id));

    platform::ShowWindowInFront(&window);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(!window.isMinimized());
    TRY_EXPECT_TRUE(other.IsMapped(id));
}

// Each test process gets its own X server; listing the tests needs none.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS();
    }
    XvfbServer server;
    if (!server.Start()) {
        return ExitCodeForUnavailableTool("no Xvfb could be started");
    }
    setenv("DISPLAY", server.Display().c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    // The X11 backends also on a Wayland desktop, where the hotkey would go through the portal.
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("XDG_SESSION_TYPE");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
