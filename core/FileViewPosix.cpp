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
    m_stamp.reset();
}

namespace {

FileStamp StampFrom(const struct stat& info) {
    const auto ns = [](const timespec& t) { return int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec; };
    return {static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino),
            static_cast<uint64_t>(info.st_size), ns(info.st_mtim), ns(info.st_ctim)};
}

}  // namespace

std::optional<FileStamp> FileView::StampOf(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return StampFrom(info);
}

fileio::Status FileView::Open(const std::filesystem::path& path, Pages pages) {
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
    void* mapping = mappable
                        ? ::mmap(nullptr, static_cast<size_t>(info.st_size), PROT_READ,
                                 MAP_PRIVATE | (pages == Pages::kAtOnce ? MAP_POPULATE : 0), fd, 0)
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
    m_stamp = StampFrom(info);
    m_bytes =
        std::string_view(static_cast<const char*>(mapping), static_cast<size_t>(info.st_size));
    return {};
}

void FileView::Prefetch(size_t begin, size_t end) const {
    if (m_mapping == nullptr || begin >= end) {
        return;
    }
    const uintptr_t page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
    const uintptr_t first = reinterpret_cast<uintptr_t>(m_bytes.data() + begin) & ~(page - 1);
    const uintptr_t last = reinterpret_cast<uintptr_t>(m_bytes.data() + end);
#ifdef MADV_POPULATE_READ
    // An older kernel refuses the advice; the pages are then set up by faults as they are read.
    ::madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_READ);
#endif
}

void FileView::Release(size_t begin, size_t end) const {
    if (m_mapping == nullptr) {
        return;
    }
    const uintptr_t page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
    const uintptr_t first =
        (reinterpret_cast<uintptr_t>(m_bytes.data() + begin) + page - 1) & ~(page - 1);
    const uintptr_t last = reinterpret_cast<uintptr_t>(m_bytes.data() + end) & ~(page - 1);
    if (first < last) {
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED);
    }
}
