#define NOMINMAX
#include <windows.h>
// windows.h names its own ReplaceFile macro; ours is fileio::ReplaceFile.
#undef ReplaceFile

#include <algorithm>
#include <cwctype>
#include <string>

#include "core/fileio/FileIo.h"
#include "core/fileio/SaveTurn.h"

namespace fileio {
namespace {

class Handle {
public:
    explicit Handle(HANDLE h = INVALID_HANDLE_VALUE) : m_h(h) {}
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

Status Failure(DWORD error) {
    const int code = static_cast<int>(error);
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return {Outcome::kMissing, code};
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return {Outcome::kNoAccess, code};
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return {Outcome::kNoSpace, code};
        case ERROR_WRITE_PROTECT:
            return {Outcome::kReadOnly, code};
        default:
            return {Outcome::kIoError, code};
    }
}

bool WriteAll(HANDLE file, std::string_view content) {
    size_t done = 0;
    while (done < content.size()) {
        DWORD wrote = 0;
        const DWORD want = static_cast<DWORD>(std::min<size_t>(content.size() - done, 1u << 30));
        if (!WriteFile(file, content.data() + done, want, &wrote, nullptr)) {
            return false;
        }
        done += wrote;
    }
    return true;
}

// Earlier versions named their temporary files "<name>.tmp-XXXXXX" (six letters or digits) and
// left them behind when killed; they are removed once a save of the same file succeeded.
void RemoveOldTemporaries(const std::filesystem::path& target) {
    const std::wstring prefix = target.filename().native() + L".tmp-";
    const std::filesystem::path dir = target.parent_path().empty() ? L"." : target.parent_path();
    std::error_code ec;
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::wstring name = it->path().filename().native();
        if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0) {
            continue;
        }
        if (std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                        [](wchar_t c) { return c < 0x80 && std::iswalnum(c); })) {
            DeleteFileW(it->path().c_str());
        }
    }
}

}  // namespace

void PrepareFreshBuffer(char* /*data*/, size_t /*size*/) {}

Status ReadWholeFile(const std::filesystem::path& path, std::string& content) {
    // Other readers are allowed, writers are not, while the file is read. A directory cannot be
    // opened this way (access denied), so it is an error, not an empty file.
    Handle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            return {Outcome::kNotRegular, static_cast<int>(error)};
        }
        return Failure(error);
    }
    if (GetFileType(file.get()) != FILE_TYPE_DISK) {
        return {Outcome::kNotRegular, 0};
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) {
        return Failure(GetLastError());
    }
    if (static_cast<uint64_t>(size.QuadPart) > kMaxFileSize) {
        return {Outcome::kTooLarge, 0};
    }
    content.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < content.size()) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<size_t>(content.size() - done, 1u << 30));
        if (!ReadFile(file.get(), content.data() + done, want, &got, nullptr)) {
            return Failure(GetLastError());
        }
        if (got == 0) {
            break;
        }
        done += got;
    }
    content.resize(done);
    return {};
}

Status ReplaceFile(const std::filesystem::path& path, const std::string& content) {
    return ReplaceFileWith(path, [&content](const ChunkWriter& write) { return write(content); });
}

Status ReplaceFileWith(const std::filesystem::path& path,
                       const std::function<bool(const ChunkWriter& write)>& produce) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            return {Outcome::kNotRegular, 0};
        }
        if (attributes & FILE_ATTRIBUTE_READONLY) {
            return {Outcome::kReadOnly, 0};
        }
    }
    // The turn this process already holds for the file (an edit from its read on), or one taken
    // for this save alone. Its handle is the temporary file, locked: a leftover of a killed save
    // is simply overwritten, and a second save of the same file waits for its turn.
    SaveTurn own;
    SaveTurn* turn = SaveTurn::HeldFor(path);
    if (turn == nullptr) {
        if (const Status taken = own.Take(path); !taken.ok()) {
            return taken.outcome == Outcome::kMissing
                       ? Status{Outcome::kNoFolder, taken.systemError}
                       : taken;
        }
        turn = &own;
    }
    const HANDLE file = reinterpret_cast<HANDLE>(turn->Handle());
    LARGE_INTEGER start{};
    bool ok = SetFilePointerEx(file, start, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    DWORD writeError = ok ? 0 : GetLastError();
    const ChunkWriter write = [file, &writeError](std::string_view chunk) {
        if (!WriteAll(file, chunk)) {
            writeError = GetLastError();
            return false;
        }
        return true;
    };
    ok = ok && produce(write) && writeError == 0;
    if (ok && !FlushFileBuffers(file)) {
        ok = false;
        writeError = GetLastError();
    }
    // Renamed while still open and locked: no other save can take the file in between.
    if (ok && !MoveFileExW(turn->Temporary().c_str(), path.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ok = false;
        writeError = GetLastError();
    }
    if (!ok) {
        // The turn stays with its holder; the file it locks is emptied, or removed with it.
        SetFilePointerEx(file, start, nullptr, FILE_BEGIN);
        SetEndOfFile(file);
        return writeError == 0 ? Status{Outcome::kIoError, 0} : Failure(writeError);
    }
    turn->Spend();
    RemoveOldTemporaries(path);
    return {};
}

Status WriteNewFile(const std::filesystem::path& path, const std::string& content) {
    Handle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        return Failure(GetLastError());
    }
    const bool ok = WriteAll(file.get(), content) && FlushFileBuffers(file.get()) != 0;
    const DWORD error = GetLastError();
    if (!file.Close() || !ok) {
        DeleteFileW(path.c_str());
        return Failure(ok ? GetLastError() : error);
    }
    return {};
}

bool UserCanWrite(const std::filesystem::path& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        // The access rules of a folder are easiest learnt by trying: a probe file that goes
        // away when it is closed.
        const std::filesystem::path probe = path / L".termix-write-probe";
        Handle file(CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        return file.get() != INVALID_HANDLE_VALUE;
    }
    // A file is not opened to find out: a handle open for writing, however briefly, makes a
    // reader that denies writers (a load on another thread) fail. A file an access list keeps
    // from the user shows when it is saved.
    return (attributes & FILE_ATTRIBUTE_READONLY) == 0;
}

Status CreatePrivateFolder(const std::filesystem::path& path) {
    std::filesystem::path partial;
    for (const std::filesystem::path& part : path) {
        partial /= part;
        if (!partial.has_relative_path()) {
            continue;  // the drive or root
        }
        if (!CreateDirectoryW(partial.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
            const Status failed = Failure(GetLastError());
            return failed.outcome == Outcome::kMissing
                       ? Status{Outcome::kNoFolder, failed.systemError}
                       : failed;
        }
    }
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return {Outcome::kNotRegular, 0};
    }
    return {};
}

void RemoveStaleTemporary(const std::filesystem::path& path) {
    // A turn nobody holds: taking it without waiting and ending it unused removes the file.
    SaveTurn stale;
    if (GetFileAttributesW(TemporaryFor(path).c_str()) != INVALID_FILE_ATTRIBUTES &&
        stale.Take(path, std::chrono::milliseconds{0}).ok()) {
        stale.Release();
    }
}

}  // namespace fileio
