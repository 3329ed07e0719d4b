#define NOMINMAX
#include <windows.h>
// windows.h names its own ReplaceFile macro; ours is fileio::ReplaceFile.
#undef ReplaceFile

#include <algorithm>
#include <string>

#include "core/FileIo.h"
#include "util/GbkText.h"

namespace fileio {
namespace {

std::wstring WidePath(const std::string& gbkPath) {
    const std::u16string utf16 = gbk::ToUtf16(gbkPath);
    return std::wstring(utf16.begin(), utf16.end());
}

class Handle {
public:
    explicit Handle(HANDLE h) : m_h(h) {}
    ~Handle() {
        if (m_h != INVALID_HANDLE_VALUE) {
            CloseHandle(m_h);
        }
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return m_h; }
    bool Close() {
        const bool ok = CloseHandle(m_h) != 0;
        m_h = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE m_h;
};

}  // namespace

ReadResult ReadWholeFile(const std::string& path, std::string& content) {
    // Other readers are allowed, writers are not, while the file is read.
    Handle file(CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        return ReadResult::kNotOpened;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) {
        return ReadResult::kError;
    }
    content.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < content.size()) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<size_t>(content.size() - done, 1u << 30));
        if (!ReadFile(file.get(), content.data() + done, want, &got, nullptr)) {
            return ReadResult::kError;
        }
        if (got == 0) {
            break;
        }
        done += got;
    }
    content.resize(done);
    return ReadResult::kOk;
}

bool ReplaceFile(const std::string& path, const std::string& content) {
    const std::wstring target = WidePath(path);
    const std::wstring temp = target + L".tmp-" + std::to_wstring(GetCurrentProcessId());
    {
        Handle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.get() == INVALID_HANDLE_VALUE) {
            return false;
        }
        size_t done = 0;
        bool ok = true;
        while (ok && done < content.size()) {
            DWORD wrote = 0;
            const DWORD want =
                static_cast<DWORD>(std::min<size_t>(content.size() - done, 1u << 30));
            ok = WriteFile(file.get(), content.data() + done, want, &wrote, nullptr) != 0;
            done += wrote;
        }
        ok = ok && FlushFileBuffers(file.get()) != 0 && file.Close();
        if (!ok) {
            DeleteFileW(temp.c_str());
            return false;
        }
    }
    if (!MoveFileExW(temp.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace fileio
