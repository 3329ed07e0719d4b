#include <gtest/gtest.h>

#include <QByteArray>
#include <QtGlobal>
#include <vector>

#include "platform/DisplayServer.h"

namespace {

// Sets the three variables for one case and restores them afterwards.
class DisplayServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : kNames) {
            m_saved.push_back({name, qEnvironmentVariableIsSet(name), qgetenv(name)});
        }
    }
    void TearDown() override {
        for (const auto& [name, wasSet, value] : m_saved) {
            if (wasSet) {
                qputenv(name, value);
            } else {
                qunsetenv(name);
            }
        }
    }
    static void Set(const char* name, const char* value) {
        if (value == nullptr) {
            qunsetenv(name);
        } else {
            qputenv(name, QByteArray(value));
        }
    }

    static constexpr const char* kNames[] = {"WAYLAND_DISPLAY", "DISPLAY", "QT_QPA_PLATFORM",
                                             "XDG_SESSION_TYPE"};
    struct Saved {
        const char* name;
        bool wasSet;
        QByteArray value;
    };
    std::vector<Saved> m_saved;
};

TEST_F(DisplayServerTest, AWaylandSessionWithXWaylandRunsThroughXcb) {
    Set("WAYLAND_DISPLAY", "wayland-0");
    Set("DISPLAY", ":0");
    Set("QT_QPA_PLATFORM", nullptr);
    EXPECT_TRUE(platform::PreferX11OnWayland());
    EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), "xcb");
}

TEST_F(DisplayServerTest, TheUsersChoiceAndPlainX11AreLeftAlone) {
    Set("WAYLAND_DISPLAY", "wayland-0");
    Set("DISPLAY", ":0");
    Set("QT_QPA_PLATFORM", "wayland");
    EXPECT_FALSE(platform::PreferX11OnWayland());
    EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), "wayland");

    Set("WAYLAND_DISPLAY", nullptr);
    Set("QT_QPA_PLATFORM", nullptr);
    EXPECT_FALSE(platform::PreferX11OnWayland());
    EXPECT_FALSE(qEnvironmentVariableIsSet("QT_QPA_PLATFORM"));
}

TEST_F(DisplayServerTest, WithoutXWaylandTheProgramStaysNative) {
    // Forcing xcb without an X server would keep the program from starting at all.
    Set("WAYLAND_DISPLAY", "wayland-0");
    Set("DISPLAY", nullptr);
    Set("QT_QPA_PLATFORM", nullptr);
    EXPECT_FALSE(platform::PreferX11OnWayland());
    EXPECT_FALSE(qEnvironmentVariableIsSet("QT_QPA_PLATFORM"));
}

// The hotkey needs the portal on Wayland even where the program runs through XWayland, and a
// session started without WAYLAND_DISPLAY in the environment still says what it is.
TEST_F(DisplayServerTest, AWaylandSessionIsKnownByEitherVariable) {
    Set("WAYLAND_DISPLAY", nullptr);
    Set("XDG_SESSION_TYPE", "x11");
    EXPECT_FALSE(platform::IsWaylandSession());
    Set("XDG_SESSION_TYPE", "wayland");
    EXPECT_TRUE(platform::IsWaylandSession());
    Set("XDG_SESSION_TYPE", nullptr);
    Set("WAYLAND_DISPLAY", "wayland-0");
    EXPECT_TRUE(platform::IsWaylandSession());
}

}  // namespace
