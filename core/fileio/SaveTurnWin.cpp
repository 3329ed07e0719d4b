#define NOMINMAX
#include <windows.h>

#include "core/fileio/SaveTurn.h"

namespace fileio {
namespace {

// The lock covers one byte far beyond any content, so that it never stands in the way of the
// holder's own writes or of a reader of the file's bytes.
constexpr DWORD kLockOffsetHigh = 0x40000000;

bool LockOnce(HANDLE file) {
    OVERLAPPED at{};
    at.OffsetHigh = kLockOffsetHigh;
    return LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at) != 0;
}

bool SameFile(HANDLE a, HANDLE b) {
    BY_HANDLE_FILE_INFORMATION x{};
    BY_HANDLE_FILE_INFORMATION y{};
    return GetFileInformationByHandle(a, &x) && GetFileInformationByHandle(b, &y) &&
           x.dwVolumeSerialNumber == y.dwVolumeSerialNumber &&
           x.nFileIndexHigh == y.nFileIndexHigh && x.nFileIndexLow == y.nFileIndexLow;
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

}  // namespace

// Every handle shares deletion, so that the holder can rename the file while waiters have it
// open.
SaveTurn::Attempt SaveTurn::TryLock(Status& failure) {
    const HANDLE file =
        CreateFileW(m_temporary.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, kShareAll, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION) {
            // Also what a file being removed by the turn before gives until its last handle
            // closes: waited for like a busy turn, reported if it lasts.
            failure = {Outcome::kNoAccess, static_cast<int>(error)};
            return Attempt::kBusy;
        }
        failure = error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND
                      ? Status{Outcome::kMissing, static_cast<int>(error)}
                      : Status{Outcome::kIoError, static_cast<int>(error)};
        return Attempt::kFailed;
    }
    if (!LockOnce(file)) {
        const DWORD error = GetLastError();
        CloseHandle(file);
        if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING) {
            return Attempt::kBusy;
        }
        failure = {Outcome::kIoError, static_cast<int>(error)};
        return Attempt::kFailed;
    }
    // The name may meanwhile have been renamed over the target by the turn before, or removed.
    const HANDLE named = CreateFileW(m_temporary.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    const bool same = named != INVALID_HANDLE_VALUE && SameFile(file, named);
    if (named != INVALID_HANDLE_VALUE) {
        CloseHandle(named);
    }
    if (!same) {
        CloseHandle(file);
        return Attempt::kGone;
    }
    m_handle = reinterpret_cast<std::intptr_t>(file);
    return Attempt::kHeld;
}

void SaveTurn::Close(bool remove) {
    const HANDLE file = reinterpret_cast<HANDLE>(m_handle);
    if (remove) {
        FILE_DISPOSITION_INFO disposition{};
        disposition.DeleteFile = TRUE;
        SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
    } else {
        // The system sets the file's write time when the handle closes: the stamp is read
        // after that, by name. Should another save replace the file in that moment, the stamp
        // is the other file's, whose change the next save then does not see.
        CloseHandle(file);
        m_handle = kNone;
        m_written = StampOf(m_key);
        return;
    }
    CloseHandle(file);
    m_handle = kNone;
}

std::filesystem::path SaveTarget(const std::filesystem::path& path) {
    return path;
}

}  // namespace fileio
