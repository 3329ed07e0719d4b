#include <unistd.h>

#include <string>
#include <vector>

#include "util/ExeDir.h"
#include "util/GbkText.h"

std::filesystem::path SystemExeDir() {
    // /proc/self/exe has no length limit of its own: grow the buffer until the path fits.
    std::vector<char> buffer(4096);
    while (true) {
        const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) {
            return "./";
        }
        if (static_cast<size_t>(n) < buffer.size()) {
            std::string path(buffer.data(), static_cast<size_t>(n));
            const size_t slash = path.rfind('/');
            path.erase(slash == std::string::npos ? 0 : slash + 1);
            return path;  // the file system's bytes, whatever their encoding
        }
        buffer.resize(buffer.size() * 2);
    }
}

const char* PathSeparator() {
    return "/";
}

std::string PathText(const std::filesystem::path& path) {
    // File names are UTF-8 on any current Linux desktop.
    return gbk::FromUtf8(path.native());
}
