#pragma once

#include <filesystem>

// Where the data files live.
//  - Portable: next to the executable, when the user can write there (or already has writable
//    data files there). A copied executable works on the data files of its new folder.
//  - Installed: otherwise (a system folder such as /usr/bin). Settings go to the user's config
//    folder, glossary and history to the user's data folder; the glossary and readme.txt that
//    come with the program stay read-only where they were installed, and the installed glossary
//    is the user's first glossary.
enum class DataMode { kPortable, kInstalled };

// The data files are named "Termix" followed by the suffix of the store kept in the file.
namespace datafile {

constexpr const char* kSettingsSuffix = ".CConfGlobal.cfg";
constexpr const char* kGlossarySuffix = ".CGlossary.termix";
constexpr const char* kHistorySuffix = ".CHistroy.termix";

}  // namespace datafile

// The per-user folders of an installed Termix, as the environment names them.
struct UserFolders {
    std::filesystem::path config;  // for the settings
    std::filesystem::path data;    // for the glossary and the history
    std::filesystem::path cache;   // for what may be thrown away and made again; empty: none
};

// $XDG_CONFIG_HOME/termix, $XDG_DATA_HOME/termix and $XDG_CACHE_HOME/termix (defaults ~/.config,
// ~/.local/share, ~/.cache) on POSIX, %APPDATA%\Termix and no cache on Windows. Empty paths
// when the environment names no home.
UserFolders UserFoldersFromEnvironment();

struct DataLocation {
    DataMode mode = DataMode::kPortable;
    std::filesystem::path settingsDir;   // holds the settings file
    std::filesystem::path dataDir;       // holds the glossary and the history
    std::filesystem::path installedDir;  // holds the glossary and readme.txt that came with it

    std::filesystem::path SettingsFile() const;
    std::filesystem::path GlossaryFile() const;
    std::filesystem::path HistoryFile() const;
    std::filesystem::path ReadmeFile() const;
    std::filesystem::path InstalledGlossary() const;

    // The file a Windows installer puts beside the programs: that folder is an installation,
    // its glossary and readme.txt the shipped ones, even where the user could write (an
    // administrator, or wine, where Program Files is writable).
    static constexpr const char* kInstalledMarker = "Termix.installed";

    // The rule for an executable in `exeDir`. The Linux install layout keeps the shipped files
    // in ../share/termix beside bin/; a folder that has such a layout and no data files of its
    // own is an installation even where the user could write (root, or a prefix in the home).
    // So is a folder holding kInstalledMarker.
    static DataLocation Decide(const std::filesystem::path& exeDir, const UserFolders& user);

    // Installed mode: creates the per-user folders (0700 on POSIX) and, when the user has no
    // glossary yet, copies the installed one; the installed copy is never written. Raises the
    // write exception when a folder cannot be made. Nothing to do in portable mode.
    void Prepare() const;
};

// The program's data location: its executable's folder and this process's environment.
DataLocation GetDataLocation();
