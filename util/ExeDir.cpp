#include "util/ExeDir.h"

#include <mutex>

namespace {
std::mutex g_overrideMutex;
std::filesystem::path g_override;
}  // namespace

std::filesystem::path ExeDirPath() {
    {
        std::lock_guard<std::mutex> lock(g_overrideMutex);
        if (!g_override.empty()) {
            return g_override;
        }
    }
    return SystemExeDir();
}

std::string GetExeDir() {
    return PathText(ExeDirPath());
}

void SetExeDirForTesting(const std::filesystem::path& dir) {
    std::lock_guard<std::mutex> lock(g_overrideMutex);
    g_override = dir;
}
