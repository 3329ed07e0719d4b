#include <cstdlib>

#include "core/DataLocation.h"

namespace {

// An XDG variable counts only when it holds an absolute path.
std::filesystem::path XdgBase(const char* variable, const std::filesystem::path& home,
                              const char* fallback) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] == '/') {
        return value;
    }
    return home.empty() ? std::filesystem::path() : home / fallback;
}

}  // namespace

UserFolders UserFoldersFromEnvironment() {
    const char* home = std::getenv("HOME");
    const std::filesystem::path homeDir = home != nullptr && home[0] == '/' ? home : "";
    const std::filesystem::path config = XdgBase("XDG_CONFIG_HOME", homeDir, ".config");
    const std::filesystem::path data = XdgBase("XDG_DATA_HOME", homeDir, ".local/share");
    const std::filesystem::path cache = XdgBase("XDG_CACHE_HOME", homeDir, ".cache");
    const auto own = [](const std::filesystem::path& base) {
        return base.empty() ? base : base / "termix";
    };
    return {own(config), own(data), own(cache)};
}
