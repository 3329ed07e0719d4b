#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>

#include "core/fileio/FileStamp.h"
#include "core/fileio/FileStatus.h"

namespace fileio {

// How long an edit waits for another program's save of the same file before it gives up: far
// longer than a save of a million terms takes.
constexpr std::chrono::milliseconds kSaveWait{10'000};

// The file a save of `path` replaces: symlinks followed to their final target (POSIX).
std::filesystem::path SaveTarget(const std::filesystem::path& path);

// The name of the temporary file a save of `target` writes first.
std::filesystem::path TemporaryFor(const std::filesystem::path& target);

// The turn to replace one file: an advisory lock held from before the file is read until its
// new content is renamed over it, so that programs editing the same file take turns and none
// saves over a change it has not read. Readers take no turn: a rename shows them the old file
// or the new one, never a mix.
//
// The lock sits on the save's own temporary file (TemporaryFor), not on a file of its own: the
// turn's holder writes that file and renames it over the target, so a finished edit leaves
// nothing behind and a killed one leaves that one file, which the next turn reuses. The system
// drops the lock when its process ends, also when it is killed (flock on POSIX, LockFileEx on
// Windows). A waiter that finds the file renamed or removed under its lock opens it again.
//
// While a turn is held, every save of its file in this process (ReplaceFile, ReplaceFileWith)
// writes through it, and the turn ends with that save's rename.
class SaveTurn {
public:
    SaveTurn() = default;
    ~SaveTurn();
    SaveTurn(const SaveTurn&) = delete;
    SaveTurn& operator=(const SaveTurn&) = delete;

    // Waits up to `wait` for the turn to replace `path`. kBusy when another process held it all
    // that time; the failure to create the temporary file otherwise (kMissing: no folder).
    Status Take(const std::filesystem::path& path, std::chrono::milliseconds wait = kSaveWait);
    bool Held() const { return m_handle != kNone; }
    // Ends the turn; removes the temporary file when no save used it.
    void Release();

    // The turn this process holds for the file `path`, or null.
    static SaveTurn* HeldFor(const std::filesystem::path& path);

    // For the save that uses the turn: the temporary file, open for writing, and its name.
    std::intptr_t Handle() const { return m_handle; }
    const std::filesystem::path& Temporary() const { return m_temporary; }
    // Ends the turn after its temporary file was renamed over the target, which it leaves in
    // place; Written() then gives the stamp of the file written.
    void Spend();
    const std::optional<FileStamp>& Written() const { return m_written; }

private:
    enum class Attempt { kHeld, kBusy, kGone, kFailed };
    // One try at locking the temporary file without waiting (per platform). kGone: the file
    // locked is no longer the one of that name (renamed or removed meanwhile): try again.
    Attempt TryLock(Status& failure);
    // Closes the handle; with `remove`, removes the temporary file first (per platform).
    void Close(bool remove);

    static constexpr std::intptr_t kNone = -1;
    std::filesystem::path m_key;  // the target, absolute, to find the turn by
    std::filesystem::path m_temporary;
    std::intptr_t m_handle = kNone;  // file descriptor or HANDLE
    std::optional<FileStamp> m_written;
};

}  // namespace fileio
