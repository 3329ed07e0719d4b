#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

// A tool a test needs (a program it starts) that is missing or did not start. In CI (CI=true) a
// missing tool is a missing install step and fails the test; elsewhere the test is skipped with
// the reason.
inline bool RunningInCi() {
    const char* ci = std::getenv("CI");
    return ci != nullptr && std::strcmp(ci, "true") == 0;
}

#define SKIP_FOR_UNAVAILABLE_TOOL(reason) \
    do {                                  \
        if (RunningInCi()) {              \
            FAIL() << (reason);           \
        }                                 \
        GTEST_SKIP() << (reason);         \
    } while (false)

// The same for a whole test program: the exit code that fails it in CI and otherwise skips it
// (77, the tests' SKIP_RETURN_CODE).
inline int ExitCodeForUnavailableTool(const char* reason) {
    std::printf("%s: %s\n", RunningInCi() ? "FAIL" : "SKIP", reason);
    return RunningInCi() ? 1 : 77;
}
