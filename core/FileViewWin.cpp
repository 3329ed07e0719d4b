#include "core/FileView.h"

// Windows reads the file: a mapped file cannot be replaced by a save while it is mapped.
FileView::~FileView() = default;

bool FileView::MapsFiles() {
    return false;
}

void FileView::Close() {
    m_bytes = {};
    m_read.clear();
}

fileio::Status FileView::Open(const std::filesystem::path& path) {
    Close();
    const fileio::Status status = fileio::ReadWholeFile(path, m_read);
    m_bytes = m_read;
    return status;
}
