#define NOMINMAX
#include <windows.h>

#include <algorithm>

#include "core/FileView.h"

// Windows reads the file: a mapped file cannot be replaced by a save while it is mapped.
FileView::~FileView() = default;

bool FileView::MapsFiles() {
    return false;
}

// The stamp of a file by name, from its volume, index, size and times. An opened view keeps no
// stamp (Stamp() is empty), so nothing is kept of a file between runs.
std::optional<FileStamp> FileView::StampOf(const std::filesystem::path& path) {
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

void FileView::Prefetch(size_t, size_t) const {}

void FileView::Release(size_t, size_t) const {}

bool FileView::ReadAt(size_t offset, size_t size, std::string& out) const {
    offset = (std::min)(offset, m_bytes.size());
    out.append(m_bytes.substr(offset, (std::min)(size, m_bytes.size() - offset)));
    return true;
}

void FileView::Close() {
    m_bytes = {};
    m_read.clear();
}

fileio::Status FileView::Open(const std::filesystem::path& path, Pages) {
    Close();
    const fileio::Status status = fileio::ReadWholeFile(path, m_read);
    m_bytes = m_read;
    return status;
}
