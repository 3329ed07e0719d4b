// The Qt-dependent Windows backends against the real user32 (wine in CI), with the windows
// platform plugin: the show request between two copies, the window lookup and the hotkey.
#include <gtest/gtest.h>
#include <windows.h>

#include <QSignalSpy>
#include <QWidget>
#include <memory>

#include "platform/GlobalHotkey.h"
#include "platform/ShowRequestReceiver.h"
#include "platform/WindowActivation.h"
#include "tests/widget/QtGTest.h"

namespace {

constexpr unsigned kAlt = 1;
constexpr unsigned kCtrl = 2;

// A top-level window with its native window made, titled `title`.
std::unique_ptr<QWidget> NativeWindow(const QString& title) {
    auto window = std::make_unique<QWidget>();
    window->setWindowTitle(title);
    window->winId();
    return window;
}

TEST(ShowRequestWin, AWindowMarkedAsOursGetsTheRequestInsteadOfBeingShownFromOutside) {
    const auto window = NativeWindow(QStringLiteral("Termix show request 用例"));
    const auto receiver = platform::CreateShowRequestReceiver();
    receiver->Watch(window.get());
    QSignalSpy requests(receiver.get(), &platform::IShowRequestReceiver::showRequested);

    EXPECT_TRUE(platform::ActivateExistingWindow("Termix show request 用例"));
    TRY_EXPECT_EQ(requests.count(), 1);
    // Only the request: the window is left for its owner to show.
    EXPECT_FALSE(IsWindowVisible(reinterpret_cast<HWND>(window->winId())));
}

TEST(ShowRequestWin, AnotherProgramsWindowIsRestoredAndAnUnknownTitleIsNotFound) {
    const auto window = NativeWindow(QStringLiteral("Termix unmarked window"));
    const auto receiver = platform::CreateShowRequestReceiver();
    QSignalSpy requests(receiver.get(), &platform::IShowRequestReceiver::showRequested);

    EXPECT_TRUE(platform::ActivateExistingWindow("Termix unmarked window"));
    EXPECT_TRUE(IsWindowVisible(reinterpret_cast<HWND>(window->winId())));
    QTest::qWait(100);
    EXPECT_EQ(requests.count(), 0);
    // The title must match exactly.
    EXPECT_FALSE(platform::ActivateExistingWindow("Termix unmarked"));
}

// Wine takes the registration and refuses a taken combination as Windows does, but drops the
// WM_HOTKEY it posts to a thread queue: the delivery is left to a real Windows desktop.
TEST(GlobalHotkeyWin, RegistersOnceAndRefusesACombinationThatIsTaken) {
    const auto first = platform::CreateGlobalHotkey();
    const auto second = platform::CreateGlobalHotkey();
    EXPECT_EQ(first->Register(7, kCtrl | kAlt, 'T'), platform::HotkeyRegistration::kRegistered);
    EXPECT_EQ(second->Register(8, kCtrl | kAlt, 'T'), platform::HotkeyRegistration::kRefused);
    // No key is no hotkey: nothing to refuse.
    EXPECT_EQ(second->Register(9, kCtrl, 0), platform::HotkeyRegistration::kRegistered);
}

TEST(GlobalHotkeyWin, ACombinationIsFreeAgainOnceItsOwnerIsGone) {
    {
        const auto owner = platform::CreateGlobalHotkey();
        ASSERT_EQ(owner->Register(1, kCtrl | kAlt, 'Y'), platform::HotkeyRegistration::kRegistered);
    }
    const auto next = platform::CreateGlobalHotkey();
    EXPECT_EQ(next->Register(2, kCtrl | kAlt, 'Y'), platform::HotkeyRegistration::kRegistered);
}

}  // namespace
