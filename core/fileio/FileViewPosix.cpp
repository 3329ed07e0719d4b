#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>

#include "core/fileio/FileStampPosix.h"
#include "core/fileio/FileView.h"

// A file another program cuts short in place while it is mapped would end this process with
// SIGBUS at the first read past the new end. The program's own saves replace a file by renaming
// a new one over it, which leaves the mapped old file whole, and a mapping lives for the
// milliseconds of one query or, for a loaded glossary, until its copy is made just after the
// program's start; but another program may truncate the file in that moment. A SIGBUS inside a
// live mapping therefore puts a page of zeros where the file's page is gone, and the read goes
// on: a record there reads as empty bytes, and the glossary's next save finds the file changed
// (size, times) and reads it again. A SIGBUS anywhere else ends the process as before.
namespace {

constexpr int kGuarded = 16;
struct GuardedRange {
    std::atomic<uintptr_t> begin{0};
    std::atomic<uintptr_t> end{0};
};
GuardedRange g_guarded[kGuarded];
uintptr_t g_pageSize = 4096;
struct sigaction g_previous {};

void OnBusError(int signal, siginfo_t* info, void* context) {
    const auto at = reinterpret_cast<uintptr_t>(info->si_addr);
    for (GuardedRange& range : g_guarded) {
        if (at >= range.begin.load() && at < range.end.load()) {
            void* page = reinterpret_cast<void*>(at & ~(g_pageSize - 1));
            if (::mmap(page, g_pageSize, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1,
                       0) != MAP_FAILED) {
                return;  // the read is tried again, on zeros
            }
        }
    }
    // Not ours: what the process did before (by default, end with the signal again).
    if ((g_previous.sa_flags & SA_SIGINFO) != 0 && g_previous.sa_sigaction != nullptr) {
        g_previous.sa_sigaction(signal, info, context);
        return;
    }
    if (g_previous.sa_handler != SIG_DFL && g_previous.sa_handler != SIG_IGN &&
        g_previous.sa_handler != nullptr) {
        g_previous.sa_handler(signal);
        return;
    }
    ::signal(SIGBUS, SIG_DFL);
}

void Guard(const void* data, size_t size) {
    static const bool installed = [] {
        g_pageSize = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
        struct sigaction action {};
        action.sa_sigaction = OnBusError;
        action.sa_flags = SA_SIGINFO | SA_RESTART;
        sigemptyset(&action.sa_mask);
        return ::sigaction(SIGBUS, &action, &g_previous) == 0;
    }();
    if (!installed) {
        return;
    }
    const auto begin = reinterpret_cast<uintptr_t>(data);
    // A slot is claimed by its begin; the handler matches nothing in it until its end is set.
    for (GuardedRange& range : g_guarded) {
        uintptr_t free = 0;
        if (range.begin.compare_exchange_strong(free, begin)) {
            range.end.store(begin + size);
            return;
        }
    }
}

void Unguard(const void* data) {
    const auto begin = reinterpret_cast<uintptr_t>(data);
    for (GuardedRange& range : g_guarded) {
        if (range.begin.load() == begin) {
            range.end.store(0);
            range.begin.store(0);
            return;
        }
    }
}

}  // namespace

FileView::~FileView() {
    Close();
}

bool FileView::MapsFiles() {
    return true;
}

void FileView::Close() {
    if (m_mapping != nullptr) {
        Unguard(m_mapping);
        ::munmap(m_mapping, m_bytes.size());
        m_mapping = nullptr;
    }
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    m_bytes = {};
    m_read.clear();
    m_stamp.reset();
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
    if (mapping == MAP_FAILED) {
        ::close(fd);
        // Empty, not regular, too large, or a file system that cannot map: read it, which
        // also gives the right outcome for each.
        const fileio::Status status = fileio::ReadWholeFile(path, m_read);
        m_bytes = m_read;
        return status;
    }
    Guard(mapping, static_cast<size_t>(info.st_size));
    m_mapping = mapping;
    m_fd = fd;
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

bool FileView::ReadAt(size_t offset, size_t size, std::string& out) const {
    offset = std::min(offset, m_bytes.size());
    size = std::min(size, m_bytes.size() - offset);
    if (m_fd < 0) {
        out.append(m_bytes.substr(offset, size));
        return true;
    }
    const size_t start = out.size();
    out.resize(start + size);
    size_t done = 0;
    while (done < size) {
        const ssize_t got = ::pread(m_fd, out.data() + start + done, size - done,
                                    static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            // Cut short since it was opened: what is left is not the file that was mapped.
            out.resize(start + done);
            return got == 0;
        }
        done += static_cast<size_t>(got);
    }
    return true;
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
