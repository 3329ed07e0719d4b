#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/SingleInstance.h"

namespace platform {
namespace {

// A directory that only this user can write to, or an empty string.
std::string PrivateFallbackDirectory() {
    const std::string dir = "/tmp/termix-" + std::to_string(getuid());
    if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) {
        return {};
    }
    struct stat info {};
    // Refuse a symlink or a folder another user planted under our name.
    if (lstat(dir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != getuid() ||
        (info.st_mode & 0077) != 0) {
        return {};
    }
    return dir;
}

// flock without waiting; false with errno set when it failed.
bool LockNow(int fd, int operation) {
    int result;
    do {
        result = flock(fd, operation | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

}  // namespace

std::string CSingleInstance::MarkerDirectory() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') {
        struct stat info {};
        if (stat(runtime, &info) == 0 && S_ISDIR(info.st_mode)) {
            return runtime;
        }
    }
    return PrivateFallbackDirectory();
}

CSingleInstance::~CSingleInstance() {
    Release();
}

bool CSingleInstance::TryAcquire(const std::string& markerName) {
    if (m_state == State::kAcquired) {
        return true;
    }
    const std::string dir = MarkerDirectory();
    if (dir.empty() || markerName.empty() || markerName.find('/') != std::string::npos) {
        m_state = State::kFailed;
        return false;
    }
    m_markerPath = dir + "/" + markerName + ".lock";
    const int fd = open(m_markerPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        m_state = State::kFailed;
        return false;
    }
    // A shared lock is only ever a look (IsHeldElsewhere), held for a moment: waited out, for
    // up to a second, instead of being taken for another copy. A copy holds it exclusively.
    for (int attempt = 0;; ++attempt) {
        if (LockNow(fd, LOCK_EX)) {
            break;
        }
        const bool looked = errno == EWOULDBLOCK && attempt < 1000 && LockNow(fd, LOCK_SH);
        if (!looked) {
            m_state = errno == EWOULDBLOCK ? State::kHeldElsewhere : State::kFailed;
            close(fd);
            return false;
        }
        flock(fd, LOCK_UN);
        usleep(1000);
    }
    m_handle = fd;
    m_state = State::kAcquired;
    return true;
}

bool CSingleInstance::IsHeldElsewhere(const std::string& markerName) {
    const std::string dir = MarkerDirectory();
    if (dir.empty() || markerName.empty() || markerName.find('/') != std::string::npos) {
        return false;
    }
    // No marker file: no copy ever ran here.
    const int fd =
        open((dir + "/" + markerName + ".lock").c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        return false;
    }
    const bool held = !LockNow(fd, LOCK_SH) && errno == EWOULDBLOCK;
    close(fd);
    return held;
}

void CSingleInstance::Release() {
    if (m_state != State::kAcquired) {
        return;
    }
    // The file stays: removing it would let a third copy lock a new file while a second one
    // still holds the old, unlinked one.
    close(static_cast<int>(m_handle));
    m_handle = -1;
    m_state = State::kReleased;
}

}  // namespace platform
