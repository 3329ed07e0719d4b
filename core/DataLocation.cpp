#include "core/DataLocation.h"

#include <string>

#include "core/PairFile.h"
#include "core/fileio/FileIo.h"
#include "core/fileio/FileStatusText.h"
#include "util/ExeDir.h"
#include "util/GbkText.h"

namespace fs = std::filesystem;

namespace {

fs::path DataFileName(const char* suffix) {
    return std::string("Termix") + suffix;
}

bool IsWritableFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec) && fileio::UserCanWrite(path);
}

}  // namespace

fs::path DataLocation::SettingsFile() const {
    return settingsDir / DataFileName(datafile::kSettingsSuffix);
}

fs::path DataLocation::GlossaryFile() const {
    return dataDir / DataFileName(datafile::kGlossarySuffix);
}

fs::path DataLocation::HistoryFile() const {
    return dataDir / DataFileName(datafile::kHistorySuffix);
}

fs::path DataLocation::ReadmeFile() const {
    return installedDir / "readme.txt";
}

fs::path DataLocation::InstalledGlossary() const {
    return installedDir / DataFileName(datafile::kGlossarySuffix);
}

DataLocation DataLocation::Decide(const fs::path& exeDir, const UserFolders& user) {
    std::error_code ec;
    if (fs::is_regular_file(exeDir / kInstalledMarker, ec)) {
        // The data files here are the shipped ones, however writable the folder is.
        return {DataMode::kInstalled, user.config, user.data, exeDir};
    }
    DataLocation portable{DataMode::kPortable, exeDir, exeDir, exeDir};
    if (IsWritableFile(portable.SettingsFile()) || IsWritableFile(portable.GlossaryFile())) {
        return portable;  // the user's own data files are here
    }
    const fs::path shared = exeDir / ".." / "share" / "termix";
    const bool installLayout =
        fs::is_regular_file(shared / DataFileName(datafile::kGlossarySuffix), ec);
    if (!installLayout && fileio::UserCanWrite(exeDir)) {
        return portable;
    }
    DataLocation installed{DataMode::kInstalled, user.config, user.data,
                           installLayout ? shared.lexically_normal() : exeDir};
    return installed;
}

void DataLocation::Prepare() const {
    if (mode == DataMode::kPortable) {
        return;
    }
    for (const fs::path& dir : {settingsDir, dataDir}) {
        if (dir.empty()) {
            throw Qm_conf_solitude_File::WriteError(
                DataFileName(datafile::kSettingsSuffix),
                GBK("不知道用户的主文件夹在哪里(没有设置 HOME)。"));
        }
        if (const fileio::Status status = fileio::CreatePrivateFolder(dir); !status.ok()) {
            throw Qm_conf_solitude_File::WriteError(dir, ReasonText(status));
        }
    }
    std::error_code ec;
    if (fs::exists(fs::symlink_status(GlossaryFile(), ec))) {
        return;  // the user's glossary: never replaced
    }
    std::string bytes;
    if (!fileio::ReadWholeFile(InstalledGlossary(), bytes).ok()) {
        return;  // nothing came with the program: the user starts with an empty glossary
    }
    // A new file only: should another copy of the program seed it first, that one stays.
    const fileio::Status written = fileio::WriteNewFile(GlossaryFile(), bytes);
    if (!written.ok() && !fs::exists(fs::symlink_status(GlossaryFile(), ec))) {
        throw Qm_conf_solitude_File::WriteError(GlossaryFile(), ReasonText(written));
    }
}

DataLocation GetDataLocation() {
    return DataLocation::Decide(ExeDirPath(), UserFoldersFromEnvironment());
}
