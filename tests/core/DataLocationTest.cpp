// Where the data files live: next to a writable executable, or in the user's own folders.
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "core/DataLocation.h"
#include "core/PairFile.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

namespace {

const UserFolders kUser{"/home/u/.config/termix", "/home/u/.local/share/termix",
                        "/home/u/.cache/termix"};

TEST(DataLocation, AWritableProgramFolderIsPortable) {
    TempDir dir;
    const DataLocation location = DataLocation::Decide(dir.path(), kUser);
    EXPECT_EQ(location.mode, DataMode::kPortable);
    EXPECT_EQ(location.GlossaryFile(), fs::path(dir.file("Termix.CGlossary.termix")));
    EXPECT_EQ(location.SettingsFile(), fs::path(dir.file("Termix.CConfGlobal.cfg")));
    EXPECT_EQ(location.HistoryFile(), fs::path(dir.file("Termix.CHistroy.termix")));
    EXPECT_EQ(location.ReadmeFile(), fs::path(dir.file("readme.txt")));
}

// Decided as an ordinary user: root may write anywhere.
TEST(DataLocation, AReadOnlyFolderIsInstalledUnlessItHoldsTheUsersWritableFiles) {
    TempDir dir;
    TempDir::WriteBytes(dir.file("Termix.CGlossary.termix"), "");
    chmod(dir.path().c_str(), 0555);
    const int installed = RunInChild(
        [&] {
            const DataLocation location = DataLocation::Decide(dir.path(), kUser);
            return location.mode == DataMode::kInstalled &&
                           location.GlossaryFile() ==
                               "/home/u/.local/share/termix/Termix.CGlossary.termix" &&
                           location.SettingsFile() ==
                               "/home/u/.config/termix/Termix.CConfGlobal.cfg" &&
                           location.InstalledGlossary() ==
                               fs::path(dir.path()) / "Termix.CGlossary.termix"
                       ? 0
                       : 1;
        },
        true);
    EXPECT_EQ(installed, 0);
    // The same folder with a glossary the user may write is the user's own portable copy.
    GiveToOrdinaryUser(dir.file("Termix.CGlossary.termix"));
    const int portable = RunInChild(
        [&] { return DataLocation::Decide(dir.path(), kUser).mode == DataMode::kPortable ? 0 : 1; },
        true);
    chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(portable, 0);
}

TEST(DataLocation, TheInstallLayoutIsInstalledEvenWhereTheUserCouldWrite) {
    TempDir prefix;
    fs::create_directories(prefix.file("bin"));
    fs::create_directories(prefix.file("share/termix"));
    TempDir::WriteBytes(prefix.file("share/termix/Termix.CGlossary.termix"), "");
    const DataLocation location = DataLocation::Decide(prefix.file("bin/"), kUser);
    EXPECT_EQ(location.mode, DataMode::kInstalled);
    EXPECT_EQ(location.InstalledGlossary(),
              fs::path(prefix.file("share/termix/Termix.CGlossary.termix")));
    EXPECT_EQ(location.ReadmeFile(), fs::path(prefix.file("share/termix/readme.txt")));
}

// What a Windows installer leaves: the shipped files beside the programs, all writable.
TEST(DataLocation, TheInstallersMarkerMakesAWritableFolderWithDataFilesInstalled) {
    TempDir dir;
    TempDir::WriteBytes(dir.file("Termix.CGlossary.termix"), "");
    TempDir::WriteBytes(dir.file("Termix.CConfGlobal.cfg"), "");
    TempDir::WriteBytes(dir.file(DataLocation::kInstalledMarker), "");
    const DataLocation location = DataLocation::Decide(dir.path(), kUser);
    EXPECT_EQ(location.mode, DataMode::kInstalled);
    EXPECT_EQ(location.SettingsFile(), "/home/u/.config/termix/Termix.CConfGlobal.cfg");
    EXPECT_EQ(location.GlossaryFile(), "/home/u/.local/share/termix/Termix.CGlossary.termix");
    EXPECT_EQ(location.InstalledGlossary(), fs::path(dir.file("Termix.CGlossary.termix")));
    EXPECT_EQ(location.ReadmeFile(), fs::path(dir.file("readme.txt")));
}

TEST(DataLocation, UserFoldersFollowTheXdgVariables) {
    const char* names[] = {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"};
    std::optional<std::string> saved[4];
    for (int i = 0; i < 4; ++i) {
        if (const char* value = std::getenv(names[i])) {
            saved[i] = value;
        }
    }
    setenv("HOME", "/home/u", 1);
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("XDG_DATA_HOME");
    unsetenv("XDG_CACHE_HOME");
    UserFolders folders = UserFoldersFromEnvironment();
    EXPECT_EQ(folders.config, "/home/u/.config/termix");
    EXPECT_EQ(folders.data, "/home/u/.local/share/termix");
    EXPECT_EQ(folders.cache, "/home/u/.cache/termix");
    setenv("XDG_CONFIG_HOME", "/x/cfg", 1);
    setenv("XDG_DATA_HOME", "relative/data", 1);  // not absolute: ignored
    setenv("XDG_CACHE_HOME", "/x/cache", 1);
    folders = UserFoldersFromEnvironment();
    EXPECT_EQ(folders.config, "/x/cfg/termix");
    EXPECT_EQ(folders.data, "/home/u/.local/share/termix");
    EXPECT_EQ(folders.cache, "/x/cache/termix");
    for (int i = 0; i < 4; ++i) {
        if (saved[i]) {
            setenv(names[i], saved[i]->c_str(), 1);
        } else {
            unsetenv(names[i]);
        }
    }
}

// Without an absolute HOME and without XDG variables the folders are under the account's home
// folder from the user database, never under the folder the program was started from; an
// account without one gets no folders, and Prepare says so and makes nothing.
TEST(DataLocation, AMissingOrRelativeHomeIsTheAccountsHomeFolder) {
    TempDir cwd;
    const int code = RunInChild([&cwd] {
        if (::chdir(cwd.path().c_str()) != 0) {
            return 10;
        }
        unsetenv("XDG_CONFIG_HOME");
        unsetenv("XDG_DATA_HOME");
        unsetenv("XDG_CACHE_HOME");
        const passwd* account = ::getpwuid(::getuid());
        if (account == nullptr || account->pw_dir[0] != '/') {
            return 11;
        }
        const fs::path home = account->pw_dir;
        for (const char* value : {static_cast<const char*>(nullptr), "", "relative/home"}) {
            value == nullptr ? unsetenv("HOME") : setenv("HOME", value, 1);
            const UserFolders folders = UserFoldersFromEnvironment();
            if (folders.config != home / ".config/termix" ||
                folders.data != home / ".local/share/termix" ||
                folders.cache != home / ".cache/termix") {
                return 12;
            }
        }
        // An account the user database does not know (a uid nobody has).
        if (::getuid() != 0) {
            return 0;
        }
        if (::setgid(54321) != 0 || ::setuid(54321) != 0 || ::getpwuid(54321) != nullptr) {
            return 0;  // no such account to be here
        }
        const UserFolders none = UserFoldersFromEnvironment();
        if (!none.config.empty() || !none.data.empty()) {
            return 13;
        }
        const DataLocation location{DataMode::kInstalled, none.config, none.data, cwd.path()};
        try {
            location.Prepare();
            return 14;
        } catch (const Qm_conf_solitude_Exception&) {
        }
        return fs::is_empty(cwd.path()) ? 0 : 15;
    });
    EXPECT_EQ(code, 0);
}

TEST(DataLocation, PrepareMakesPrivateFoldersAndSeedsTheGlossaryOnce) {
    TempDir root;
    fs::create_directories(root.file("share/termix"));
    const std::string shipped = "0003#UML = 0005#UML\a\a\a\r\n";
    TempDir::WriteBytes(root.file("share/termix/Termix.CGlossary.termix"), shipped);
    const DataLocation location{DataMode::kInstalled, root.file("home/.config/termix"),
                                root.file("home/.local/share/termix"), root.file("share/termix")};
    location.Prepare();
    struct stat info {};
    ASSERT_EQ(stat(root.file("home/.config/termix").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_EQ(TempDir::ReadBytes(location.GlossaryFile().string()), shipped);

    TempDir::WriteBytes(location.GlossaryFile().string(), "");  // the user emptied it
    location.Prepare();
    EXPECT_EQ(TempDir::ReadBytes(location.GlossaryFile().string()), "");
    EXPECT_EQ(TempDir::ReadBytes(root.file("share/termix/Termix.CGlossary.termix")), shipped);
}

TEST(DataLocation, AFolderThatCannotBeMadeIsAWriteError) {
    TempDir root;
    TempDir::WriteBytes(root.file("file"), "");
    const DataLocation location{DataMode::kInstalled, root.file("file/termix"),
                                root.file("data/termix"), root.file("share")};
    EXPECT_THROW(location.Prepare(), Qm_conf_solitude_Exception);
}

}  // namespace
