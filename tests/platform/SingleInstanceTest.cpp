#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/SingleInstance.h"

namespace {

using platform::CSingleInstance;
using State = CSingleInstance::State;

const std::string kMarker = "{6B633CEE-E413-43b4-9C6B-D8D0FA18269F}";

// Points XDG_RUNTIME_DIR at a fresh private directory for the test and restores it afterwards.
class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* old = std::getenv("XDG_RUNTIME_DIR")) {
            m_saved = old;
            m_hadValue = true;
        }
        char pattern[] = "/tmp/termix-si-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
        setenv("XDG_RUNTIME_DIR", m_dir.c_str(), 1);
    }
    void TearDown() override {
        if (m_hadValue) {
            setenv("XDG_RUNTIME_DIR", m_saved.c_str(), 1);
        } else {
            unsetenv("XDG_RUNTIME_DIR");
        }
        std::filesystem::remove_all(m_dir);
    }

    // Runs `body` in a child process and returns its exit code.
    template <typename Body>
    static int InChild(Body body) {
        const pid_t pid = fork();
        if (pid == 0) {
            _exit(body());
        }
        int status = 0;
        waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string m_dir;
    std::string m_saved;
    bool m_hadValue = false;
};

TEST_F(SingleInstanceTest, TheFirstCopyHoldsTheMarkerAndASecondIsTurnedAway) {
    CSingleInstance first;
    EXPECT_EQ(first.GetState(), State::kNotTried);
    ASSERT_TRUE(first.TryAcquire(kMarker));
    EXPECT_EQ(first.GetState(), State::kAcquired);
    EXPECT_EQ(first.GetMarkerPath(), m_dir + "/" + kMarker + ".lock");
    EXPECT_TRUE(first.TryAcquire(kMarker));  // asking again changes nothing

    CSingleInstance second;
    EXPECT_FALSE(second.TryAcquire(kMarker));
    EXPECT_EQ(second.GetState(), State::kHeldElsewhere);

    // Another process sees the same.
    EXPECT_EQ(InChild([] {
                  CSingleInstance other;
                  return other.TryAcquire(kMarker) ? 0 : 1;
              }),
              1);

    first.Release();
    EXPECT_EQ(first.GetState(), State::kReleased);
    EXPECT_TRUE(second.TryAcquire(kMarker));
}

// termix-cli looks before an edit; a copy starting during the look must not be turned away.
TEST_F(SingleInstanceTest, ALookFindsTheRunningCopyAndNeverTurnsAStartingOneAway) {
    EXPECT_FALSE(CSingleInstance::IsHeldElsewhere(kMarker));
    {
        CSingleInstance running;
        ASSERT_TRUE(running.TryAcquire(kMarker));
        EXPECT_TRUE(CSingleInstance::IsHeldElsewhere(kMarker));
    }
    EXPECT_FALSE(CSingleInstance::IsHeldElsewhere(kMarker));
    // A look in progress: the shared lock it holds for a moment.
    const int look = open((m_dir + "/" + kMarker + ".lock").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(look, 0);
    ASSERT_EQ(flock(look, LOCK_SH), 0);
    std::thread lookEnds([look] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        close(look);
    });
    CSingleInstance starting;
    EXPECT_TRUE(starting.TryAcquire(kMarker));
    lookEnds.join();
}

TEST_F(SingleInstanceTest, TheMarkerIsFreeAgainWhenTheHoldingProcessEnds) {
    // The child takes the marker and ends without releasing it, as a crash would.
    EXPECT_EQ(InChild([] {
                  CSingleInstance held;
                  if (!held.TryAcquire(kMarker)) {
                      return 1;
                  }
                  _exit(0);
              }),
              0);
    CSingleInstance next;
    EXPECT_TRUE(next.TryAcquire(kMarker));
}

TEST_F(SingleInstanceTest, DifferentMarkersDoNotConflict) {
    CSingleInstance a;
    CSingleInstance b;
    EXPECT_TRUE(a.TryAcquire(kMarker));
    EXPECT_TRUE(b.TryAcquire("other-program"));
}

TEST_F(SingleInstanceTest, AMarkerNameThatIsNotAFileNameFails) {
    CSingleInstance instance;
    EXPECT_FALSE(instance.TryAcquire("../escape"));
    EXPECT_EQ(instance.GetState(), State::kFailed);
    EXPECT_FALSE(instance.TryAcquire(""));
    EXPECT_EQ(instance.GetState(), State::kFailed);
}

TEST_F(SingleInstanceTest, WithoutARuntimeDirectoryAPrivateTmpFolderIsUsed) {
    unsetenv("XDG_RUNTIME_DIR");
    const std::string dir = CSingleInstance::MarkerDirectory();
    EXPECT_EQ(dir, "/tmp/termix-" + std::to_string(getuid()));
    struct stat info {};
    ASSERT_EQ(lstat(dir.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    setenv("XDG_RUNTIME_DIR", (m_dir + "/missing").c_str(), 1);
    EXPECT_EQ(CSingleInstance::MarkerDirectory(), dir);
}

}  // namespace
