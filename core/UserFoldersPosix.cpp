#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

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

// The account's home folder from the user database, as other desktop programs take it when HOME
// is unset or not absolute; empty when the account has none.
std::filesystem::path HomeFromUserDatabase() {
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    int error;
    while ((error = ::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found)) ==
               ERANGE &&
           buffer.size() < (size_t{1} << 20)) {
        buffer.resize(buffer.size() * 2);
    }
    if (error != 0 || found == nullptr || entry.pw_dir == nullptr || entry.pw_dir[0] != '/') {
        return {};
    }
    return entry.pw_dir;
}

}  // namespace

UserFolders UserFoldersFromEnvironment() {
    // Never a relative HOME, which would put the data files in whatever folder the program was
    // started from.
    const char* home = std::getenv("HOME");
    const std::filesystem::path homeDir =
        home != nullptr && home[0] == '/' ? home : HomeFromUserDatabase();
    const std::filesystem::path config = XdgBase("XDG_CONFIG_HOME", homeDir, ".config");
    const std::filesystem::path data = XdgBase("XDG_DATA_HOME", homeDir, ".local/share");
    const std::filesystem::path cache = XdgBase("XDG_CACHE_HOME", homeDir, ".cache");
    const auto own = [](const std::filesystem::path& base) {
        return base.empty() ? base : base / "termix";
    };
    return {own(config), own(data), own(cache)};
}
