#pragma once

#include <sys/stat.h>

#include <cstdint>

#include "core/fileio/FileStamp.h"

// The stamp of a file from what stat() or fstat() said of it.
inline FileStamp StampFrom(const struct stat& info) {
    const auto ns = [](const timespec& t) { return int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec; };
    return {static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino),
            static_cast<uint64_t>(info.st_size), ns(info.st_mtim), ns(info.st_ctim)};
}
