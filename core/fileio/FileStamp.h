#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

// What tells one state of a file from another without reading it: which file it is, its size,
// and when its content and its status last changed. Every write moves the change time, and no
// program can set it back, so an equal stamp means the same content, provided the change time
// was already older than the file system's timestamp resolution when the content was read.
struct FileStamp {
    uint64_t device = 0;
    uint64_t inode = 0;
    uint64_t size = 0;
    int64_t modifiedNs = 0;  // since the epoch
    int64_t changedNs = 0;

    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file at `path` now; empty when it cannot be had.
std::optional<FileStamp> StampOf(const std::filesystem::path& path);
