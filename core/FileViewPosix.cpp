#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "core/FileView.h"

// A file another program cuts short in place while it is mapped would end this process with
// SIGBUS. The program's own saves replace a file by renaming a new one over it, which leaves
// the mapped old file whole, and a mapping lives for the milliseconds of one query or, for a
// loaded glossary, until its copy is made just after the program's start.
FileView::~FileView() {
    Close();
}

bool FileView::MapsFiles() {
    return true;
}

void FileView::Close() {
    if (m_mapping != nullptr) {
        ::munmap(m_mapping, m_bytes.size());
        m_mapping = nullptr;
    }
    m_bytes = {};
    m_read.clear();
}

fileio::Status FileView::Open(const std::filesystem::path& path) {
    Close();
    // O_NONBLOCK: opening a FIFO or a device must not wait for a writer or a line.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        // The same outcome for every failure to open as a read gives.
        return fileio::ReadWholeFile(path, m_read);
    }
    struct stat info {};
    const bool mappable = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0 &&
                          static_cast<uint64_t>(info.st_size) <= fileio::kMaxFileSize;
    void* mapping = mappable ? ::mmap(nullptr, static_cast<size_t>(info.st_size), PROT_READ,
                                      MAP_PRIVATE | MAP_POPULATE, fd, 0)
                             : MAP_FAILED;
    ::close(fd);
    if (mapping == MAP_FAILED) {
        // Empty, not regular, too large, or a file system that cannot map: read it, which
        // also gives the right outcome for each.
        const fileio::Status status = fileio::ReadWholeFile(path, m_read);
        m_bytes = m_read;
        return status;
    }
    m_mapping = mapping;
    m_bytes =
        std::string_view(static_cast<const char*>(mapping), static_cast<size_t>(info.st_size));
    return {};
}
