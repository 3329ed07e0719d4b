#define NOMINMAX
#include <windows.h>

#include <algorithm>

#include "core/fileio/FileView.h"

// Windows reads the file: a mapped file cannot be replaced by a save while it is mapped. An
// opened view keeps no stamp (Stamp() is empty), so nothing is kept of a file between runs.
FileView::~FileView() = default;

bool FileView::MapsFiles() {
    return false;
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
