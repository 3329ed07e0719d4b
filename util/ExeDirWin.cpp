#include <windows.h>

#include <string>
#include <vector>

#include "util/ExeDir.h"
#include "util/GbkText.h"

std::string SystemExeDir() {
    // The wide API has no 260-character limit: grow the buffer until the path fits.
    std::vector<wchar_t> buffer(MAX_PATH);
    while (true) {
        const DWORD n =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) {
            return ".\\";
        }
        if (n < buffer.size()) {
            std::u16string path(reinterpret_cast<const char16_t*>(buffer.data()), n);
            const size_t slash = path.find_last_of(u"\\/");
            path.erase(slash == std::u16string::npos ? 0 : slash + 1);
            return gbk::FromUtf16(path);
        }
        buffer.resize(buffer.size() * 2);
    }
}

const char* PathSeparator() {
    return "\\";
}

std::string NativePath(const std::string& gbkPath) {
    // The file functions take UTF-16 paths; see FileIoWin.cpp.
    return gbkPath;
}
