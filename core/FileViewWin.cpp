#include "core/FileView.h"

// Windows reads the file: a mapped file cannot be replaced by a save while it is mapped.
FileView::~FileView() = default;

bool FileView::MapsFiles() {
    return false;
}

// No stamp: what Windows tells of a file (its index, times) is not read here, so nothing is
// kept of a file between runs.
std::optional<FileStamp> FileView::StampOf(const std::filesystem::path&) {
    return std::nullopt;
}

void FileView::Prefetch(size_t, size_t) const {}

void FileView::Release(size_t, size_t) const {}

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
