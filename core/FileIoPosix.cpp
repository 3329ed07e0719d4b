#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/FileIo.h"
#include "util/ExeDir.h"

namespace fileio {
namespace {

class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    int release() {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd;
};

// Asks the kernel to set up every page of a large fresh buffer in one call: a new process reading
// a big glossary would otherwise take a page fault per page. Older kernels just say no.
void PrefaultForWriting(char* data, size_t size) {
#ifdef MADV_POPULATE_WRITE
    const size_t page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
    const auto begin = (reinterpret_cast<uintptr_t>(data) + page - 1) & ~(page - 1);
    const auto end = (reinterpret_cast<uintptr_t>(data) + size) & ~(page - 1);
    if (end > begin + 64 * page) {
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
    }
#else
    (void)data;
    (void)size;
#endif
}

bool WriteAll(int fd, const std::string& content) {
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

}  // namespace

ReadResult ReadWholeFile(const std::string& path, std::string& content) {
    Fd fd(::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        return ReadResult::kNotOpened;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        return ReadResult::kError;
    }
    // Read straight into the result; the file may still grow or shrink while it is read.
    content.reserve(static_cast<size_t>(info.st_size) + 1);
    PrefaultForWriting(content.data(), content.capacity());
    content.resize(static_cast<size_t>(info.st_size) + 1);
    size_t done = 0;
    while (true) {
        if (done == content.size()) {
            content.resize(content.size() * 2 + 4096);
        }
        const ssize_t n = ::read(fd.get(), content.data() + done, content.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return ReadResult::kError;
        }
        if (n == 0) {
            content.resize(done);
            return ReadResult::kOk;
        }
        done += static_cast<size_t>(n);
    }
}

bool ReplaceFile(const std::string& path, const std::string& content) {
    const std::string target = NativePath(path);
    std::vector<char> temp(target.begin(), target.end());
    const char suffix[] = ".tmp-XXXXXX";
    temp.insert(temp.end(), suffix, suffix + sizeof suffix);  // includes the NUL
    Fd fd(::mkstemp(temp.data()));
    if (fd.get() < 0) {
        return false;
    }
    const std::string tempPath(temp.data());
    // Keep the permissions of the file being replaced; a new file gets the usual 0666 & ~umask.
    struct stat old {};
    mode_t mode;
    if (::stat(target.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    const bool written = ::fchmod(fd.get(), mode) == 0 && WriteAll(fd.get(), content) &&
                         ::fsync(fd.get()) == 0 && ::close(fd.release()) == 0;
    if (!written || ::rename(tempPath.c_str(), target.c_str()) != 0) {
        ::unlink(tempPath.c_str());
        return false;
    }
    return true;
}

}  // namespace fileio
