#include <sys/stat.h>

#include "core/fileio/FileStampPosix.h"

std::optional<FileStamp> StampOf(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return StampFrom(info);
}
