#include "util/ExeDir.h"

#include <mutex>

namespace {
std::mutex g_overrideMutex;
std::string g_override;  // GBK
}  // namespace

std::string GetExeDir() {
    {
        std::lock_guard<std::mutex> lock(g_overrideMutex);
        if (!g_override.empty()) {
            return g_override;
        }
    }
    return SystemExeDir();
}

void SetExeDirForTesting(const std::string& dir) {
    std::lock_guard<std::mutex> lock(g_overrideMutex);
    g_override = dir;
}
