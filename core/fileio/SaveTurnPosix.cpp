#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/fileio/FileStampPosix.h"
#include "core/fileio/SaveTurn.h"

namespace fileio {
SaveTurn::Attempt SaveTurn::TryLock(Status& failure) {
    // A new temporary file gets the target's permission bits, or 0666 less the umask for a new
    // target, as any program's new file does; the save sets them again before it writes.
    struct stat target {};
    const mode_t mode = ::stat(m_key.c_str(), &target) == 0 && S_ISREG(target.st_mode)
                            ? (target.st_mode & 0777)
                            : 0666;
    const int fd = ::open(m_temporary.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, mode);
    if (fd < 0) {
        failure = errno == ENOENT   ? Status{Outcome::kMissing, errno}
                  : errno == EACCES ? Status{Outcome::kNoAccess, errno}
                  : errno == EROFS  ? Status{Outcome::kReadOnly, errno}
                                    : Status{Outcome::kIoError, errno};
        return Attempt::kFailed;
    }
    int locked;
    do {
        locked = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK) {
            return Attempt::kBusy;
        }
        failure = {Outcome::kIoError, error};
        return Attempt::kFailed;
    }
    // The name may meanwhile have been renamed over the target by the turn before, or removed.
    struct stat opened {};
    struct stat named {};
    if (::fstat(fd, &opened) != 0 || ::lstat(m_temporary.c_str(), &named) != 0 ||
        opened.st_dev != named.st_dev || opened.st_ino != named.st_ino || !S_ISREG(named.st_mode)) {
        ::close(fd);
        return Attempt::kGone;
    }
    m_handle = fd;
    return Attempt::kHeld;
}

void SaveTurn::Close(bool remove) {
    const int fd = static_cast<int>(m_handle);
    struct stat info {};
    if (remove) {
        ::unlink(m_temporary.c_str());  // still ours: we hold its lock
    } else if (::fstat(fd, &info) == 0) {
        // The file now in the target's place; its change time no longer moves with the rename.
        m_written = StampFrom(info);
    }
    ::close(fd);
    m_handle = kNone;
}

// Follows symlinks to the file they finally name (which need not exist yet), so that a save
// replaces the target and leaves the link in place.
std::filesystem::path SaveTarget(const std::filesystem::path& path) {
    std::filesystem::path current = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(current, ec))) {
            return current;
        }
        const std::filesystem::path link = std::filesystem::read_symlink(current, ec);
        if (ec) {
            return current;
        }
        current = link.is_absolute() ? link : current.parent_path() / link;
    }
    return current;  // a loop: the save's rename fails on it like any other bad target
}

}  // namespace fileio
