#include <windows.h>

#include <string>
#include <vector>

#include "util/ExeDir.h"
#include "util/GbkText.h"

std::filesystem::path SystemExeDir() {
    // The wide API has no 260-character limit: grow the buffer until the path fits.
    std::vector<wchar_t> buffer(MAX_PATH);
    while (true) {
        const DWORD n =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) {
            return L".\\";
        }
        if (n < buffer.size()) {
            std::wstring path(buffer.data(), n);
            const size_t slash = path.find_last_of(L"\\/");
            path.erase(slash == std::wstring::npos ? 0 : slash + 1);
            return path;
        }
        buffer.resize(buffer.size() * 2);
    }
}

const char* PathSeparator() {
    return "\\";
}

std::string PathText(const std::filesystem::path& path) {
    const std::wstring& wide = path.native();
    return gbk::FromUtf16(std::u16string(wide.begin(), wide.end()));
}
