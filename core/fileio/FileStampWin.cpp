#define NOMINMAX
#include <windows.h>

#include "core/fileio/FileStamp.h"

// The stamp of a file by name, from its volume, index, size and times.
std::optional<FileStamp> StampOf(const std::filesystem::path& path) {
    const HANDLE file = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    FILE_BASIC_INFO times{};
    const bool known = GetFileInformationByHandle(file, &info) &&
                       GetFileInformationByHandleEx(file, FileBasicInfo, &times, sizeof times);
    CloseHandle(file);
    if (!known) {
        return std::nullopt;
    }
    const auto ns = [](const LARGE_INTEGER& t) {
        return (t.QuadPart - 116444736000000000LL) * 100;
    };
    return FileStamp{info.dwVolumeSerialNumber,
                     (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow,
                     (uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow,
                     ns(times.LastWriteTime), ns(times.ChangeTime)};
}
