#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/fileio/FileIo.h"
#include "core/fileio/SaveTurn.h"

namespace fileio {
namespace {

// Whether the kernel gives 2 MiB pages to memory that asks for them: transparent huge pages set
// to "always" or "madvise", not "never" (or absent).
bool HugePagesOnRequest() {
    static const bool enabled = [] {
        const int fd = ::open("/sys/kernel/mm/transparent_hugepage/enabled", O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            return false;
        }
        char text[128] = {};
        const ssize_t got = ::read(fd, text, sizeof text - 1);
        ::close(fd);
        return got > 0 && std::string_view(text).find("[never]") == std::string_view::npos;
    }();
    return enabled;
}

// Sets up the pages of [begin, end) in a few calls. 64 KiB per call: each call holds the
// process's memory-map lock, and a thread mapping a library meanwhile (the toolkit starting up
// beside the glossary preload) waits for it; one call for a 20 MB buffer held that thread up for
// 7 ms. Older kernels just say no.
void Populate(uintptr_t begin, uintptr_t end) {
#ifdef MADV_POPULATE_WRITE
    constexpr uintptr_t kStep = uintptr_t{1} << 16;
    for (uintptr_t at = begin; at < end; at += kStep) {
        ::madvise(reinterpret_cast<void*>(at), std::min<uintptr_t>(kStep, end - at),
                  MADV_POPULATE_WRITE);
    }
#else
    (void)begin;
    (void)end;
#endif
}

class Fd {
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd() { Reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    void Reset(int fd = -1) {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        m_fd = fd;
    }
    int Release() {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }
    // Closes now and tells whether the close succeeded (it can report a delayed write error).
    bool Close() {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

Status Failure(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:  // a folder on the way is a file: the file cannot exist either
            return {Outcome::kMissing, error};
        case EACCES:
        case EPERM:
            return {Outcome::kNoAccess, error};
        case EISDIR:
        case ENXIO:
        case ENODEV:
            return {Outcome::kNotRegular, error};
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return {Outcome::kNoSpace, error};
        case EROFS:
            return {Outcome::kReadOnly, error};
        default:
            return {Outcome::kIoError, error};
    }
}

// Reads until `size` bytes are in or the file ends; the bytes read, or -1 with errno set.
ssize_t ReadFully(int fd, char* data, size_t size) {
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, data + done, size - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return -1;
        }
        if (n == 0) {
            break;
        }
        done += static_cast<size_t>(n);
    }
    return static_cast<ssize_t>(done);
}

bool WriteAll(int fd, std::string_view content) {
    size_t done = 0;
    while (done < content.size()) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Removes the temporary file `temp` unless a save holds its lock.
void RemoveUnlockedTemporary(const std::filesystem::path& temp) {
    Fd fd(::open(temp.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    if (fd.get() < 0) {
        return;
    }
    struct stat opened {};
    struct stat named {};
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0 && ::fstat(fd.get(), &opened) == 0 &&
        ::lstat(temp.c_str(), &named) == 0 && SameFile(opened, named) && S_ISREG(named.st_mode)) {
        ::unlink(temp.c_str());
    }
}

void SyncDirectory(const std::filesystem::path& dir) {
    Fd fd(::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0) {
        ::fsync(fd.get());  // some file systems cannot sync a directory; the rename stands
    }
}

// Earlier versions named their temporary files "<name>.tmp-XXXXXX" and left them behind when
// killed; they are removed once a save of the same file succeeded.
void RemoveOldTemporaries(const std::filesystem::path& target) {
    const std::string prefix = target.filename().native() + ".tmp-";
    const std::filesystem::path dir = target.parent_path().empty() ? "." : target.parent_path();
    DIR* listing = ::opendir(dir.c_str());
    if (listing == nullptr) {
        return;
    }
    while (const dirent* entry = ::readdir(listing)) {
        const std::string_view name = entry->d_name;
        if (name.size() != prefix.size() + 6 || name.substr(0, prefix.size()) != prefix) {
            continue;
        }
        bool generated = true;
        for (const char c : name.substr(prefix.size())) {
            generated = generated && ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') ||
                                      (c >= 'A' && c <= 'Z'));
        }
        if (generated) {
            ::unlinkat(::dirfd(listing), entry->d_name, 0);
        }
    }
    ::closedir(listing);
}

}  // namespace

// Where the kernel gives huge pages on request and most of the buffer is whole 2 MiB pages,
// those ask for them: one fault per 2 MiB, taken without the memory-map lock, and fewer TLB
// misses for whoever reads the buffer. The rest is set up ahead.
void PrepareFreshBuffer(char* data, size_t size) {
    const uintptr_t page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
    const uintptr_t begin = (reinterpret_cast<uintptr_t>(data) + page - 1) & ~(page - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(data) + size) & ~(page - 1);
    if (end <= begin + 64 * page) {
        return;
    }
#ifdef MADV_HUGEPAGE
    constexpr uintptr_t kHuge = uintptr_t{2} << 20;
    const uintptr_t hugeBegin = (begin + kHuge - 1) & ~(kHuge - 1);
    const uintptr_t hugeEnd = end & ~(kHuge - 1);
    if (hugeBegin < hugeEnd && hugeEnd - hugeBegin >= (end - begin) / 2 && HugePagesOnRequest() &&
        ::madvise(reinterpret_cast<void*>(hugeBegin), hugeEnd - hugeBegin, MADV_HUGEPAGE) == 0) {
        Populate(begin, hugeBegin);
        Populate(hugeEnd, end);
        return;
    }
#endif
    Populate(begin, end);
}

Status ReadWholeFile(const std::filesystem::path& path, std::string& content) {
    // O_NONBLOCK: opening a FIFO or a device must not wait for a writer or a line.
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.get() < 0) {
        return Failure(errno);
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        return Failure(errno);
    }
    if (!S_ISREG(info.st_mode)) {
        return {Outcome::kNotRegular, 0};
    }
    if (static_cast<uint64_t>(info.st_size) > kMaxFileSize) {
        return {Outcome::kTooLarge, 0};
    }
    // Read straight into the result; the file may still grow or shrink while it is read.
    content.clear();
    size_t capacity = static_cast<size_t>(info.st_size) + 1;
    content.reserve(capacity);
    PrepareFreshBuffer(content.data(), content.capacity());
    while (true) {
        const size_t done = content.size();
        content.resize(capacity);
        const ssize_t got = ReadFully(fd.get(), content.data() + done, capacity - done);
        const int error = got < 0 ? errno : 0;
        content.resize(got < 0 ? done : done + static_cast<size_t>(got));
        if (error != 0) {
            return Failure(error);
        }
        if (content.size() < capacity) {
            return {};
        }
        if (capacity > kMaxFileSize) {
            return {Outcome::kTooLarge, 0};
        }
        capacity = capacity * 2 + 4096;
    }
}

Status ReplaceFile(const std::filesystem::path& path, const std::string& content) {
    return ReplaceFileWith(path, [&content](const ChunkWriter& write) { return write(content); });
}

Status ReplaceFileWith(const std::filesystem::path& path,
                       const std::function<bool(const ChunkWriter& write)>& produce) {
    const std::filesystem::path target = SaveTarget(path);
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists) {
        if (!S_ISREG(old.st_mode)) {
            return {Outcome::kNotRegular, 0};
        }
        // The rename would replace a file the user cannot (or chose not to) write.
        if ((old.st_mode & 0222) == 0) {
            return {Outcome::kReadOnly, 0};
        }
        if (::access(target.c_str(), W_OK) != 0) {
            return {Outcome::kReadOnly, errno};
        }
    }
    // The turn this process already holds for the file (an edit from its read on), or one taken
    // for this save alone.
    SaveTurn own;
    SaveTurn* turn = SaveTurn::HeldFor(target);
    if (turn == nullptr) {
        if (const Status taken = own.Take(target); !taken.ok()) {
            return taken.outcome == Outcome::kMissing ? Status{Outcome::kNoFolder, ENOENT} : taken;
        }
        turn = &own;
    }
    const int fd = static_cast<int>(turn->Handle());
    // A killed save may have left content in the file.
    bool written = ::ftruncate(fd, 0) == 0;
    if (written && exists) {
        written = ::fchmod(fd, old.st_mode & 07777) == 0;
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
            // Keeps the owner where the system allows it (root saving another user's file).
            [[maybe_unused]] const int kept = ::fchown(fd, old.st_uid, old.st_gid);
        }
    }
    int writeError = 0;
    const ChunkWriter write = [fd, &writeError](std::string_view chunk) {
        if (!WriteAll(fd, chunk)) {
            writeError = errno;
            return false;
        }
        return true;
    };
    if (written) {
        errno = 0;
        const bool produced = produce(write);
        written = produced && writeError == 0;
        if (!written) {
            errno = writeError;  // 0 when the producer gave up on its own
        }
    }
    written = written && ::fsync(fd) == 0;
    if (!written || ::rename(turn->Temporary().c_str(), target.c_str()) != 0) {
        const int error = errno;
        // The turn stays with its holder; the file it locks is emptied, or removed with it.
        [[maybe_unused]] const int emptied = ::ftruncate(fd, 0);
        return Failure(error);
    }
    turn->Spend();
    SyncDirectory(target.parent_path());
    RemoveOldTemporaries(target);
    return {};
}

Status WriteNewFile(const std::filesystem::path& path, const std::string& content) {
    Fd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666));
    if (fd.get() < 0) {
        return Failure(errno);
    }
    if (!WriteAll(fd.get(), content) || ::fsync(fd.get()) != 0 || !fd.Close()) {
        const int error = errno;
        ::unlink(path.c_str());
        return Failure(error);
    }
    SyncDirectory(path.parent_path());
    return {};
}

bool UserCanWrite(const std::filesystem::path& path) {
    return ::access(path.c_str(), W_OK) == 0;
}

Status CreatePrivateFolder(const std::filesystem::path& path) {
    std::filesystem::path partial;
    for (const std::filesystem::path& part : path) {
        partial /= part;
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) {
            const int error = errno;
            return error == ENOENT ? Status{Outcome::kNoFolder, error} : Failure(error);
        }
    }
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        return {Outcome::kNotRegular, ENOTDIR};
    }
    return {};
}

void RemoveStaleTemporary(const std::filesystem::path& path) {
    RemoveUnlockedTemporary(TemporaryFor(SaveTarget(path)));
}

}  // namespace fileio
