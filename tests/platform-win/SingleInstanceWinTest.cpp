#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/SingleInstance.h"

namespace {

using State = platform::CSingleInstance::State;

// Runs this test executable as a second process that tries to take the marker `name`.
State ProbeFromAnotherProcess(const std::string& name) {
    std::vector<wchar_t> exe(32768);
    GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size()));
    std::wstring command = L"\"" + std::wstring(exe.data()) + L"\" --probe-marker " +
                           std::wstring(name.begin(), name.end());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        ADD_FAILURE() << "CreateProcessW failed: " << GetLastError();
        return State::kNotTried;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<State>(code);
}

std::string UniqueMarker() {
    return "Termix-test-marker-" + std::to_string(GetCurrentProcessId());
}

TEST(SingleInstanceWin, ASecondProcessFindsTheMarkerUntilItIsReleased) {
    const std::string name = UniqueMarker();
    platform::CSingleInstance first;
    ASSERT_TRUE(first.TryAcquire(name));
    EXPECT_EQ(first.GetState(), State::kAcquired);
    EXPECT_EQ(ProbeFromAnotherProcess(name), State::kHeldElsewhere);
    first.Release();
    EXPECT_EQ(first.GetState(), State::kReleased);
    EXPECT_EQ(ProbeFromAnotherProcess(name), State::kAcquired);
}

TEST(SingleInstanceWin, ALookFindsTheRunningCopyAndNeverTurnsAStartingOneAway) {
    const std::string name = UniqueMarker() + "-look";
    EXPECT_FALSE(platform::CSingleInstance::IsHeldElsewhere(name));
    {
        platform::CSingleInstance running;
        ASSERT_TRUE(running.TryAcquire(name));
        EXPECT_TRUE(platform::CSingleInstance::IsHeldElsewhere(name));
    }
    EXPECT_FALSE(platform::CSingleInstance::IsHeldElsewhere(name));
}

TEST(SingleInstanceWin, IsHeldUntilItsOwnerIsDestroyed) {
    const std::string name = UniqueMarker() + "-ended";
    {
        platform::CSingleInstance held;
        ASSERT_TRUE(held.TryAcquire(name));
        EXPECT_TRUE(held.TryAcquire(name));  // again while held: still ours
        platform::CSingleInstance second;
        EXPECT_FALSE(second.TryAcquire(name));
        EXPECT_EQ(second.GetState(), State::kHeldElsewhere);
    }
    platform::CSingleInstance after;
    EXPECT_TRUE(after.TryAcquire(name));
}

}  // namespace
