#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "core/fileio/FileStatus.h"

// Whole-file reads and crash-safe whole-file writes for the data files. Paths are in the file
// system's own form.
namespace fileio {

// No data file of the program comes near this: a million realistic terms take about 200 MB.
// Anything larger is refused instead of read.
constexpr uint64_t kMaxFileSize = uint64_t{1} << 30;

// Reads the whole file. Only a file that does not exist is kMissing; every other failure to
// open or read it is an error. Non-regular files are refused without blocking.
Status ReadWholeFile(const std::filesystem::path& path, std::string& content);

// Readies a large fresh buffer before it is first written, so that a new process filling a big
// one does not take a page fault for each of its 4 KiB pages; nothing where the system has no
// such means.
void PrepareFreshBuffer(char* data, size_t size);

// Replaces the file with `content` so that it is always either the old or the new content:
// writes a temporary file beside the target, flushes it and renames it over the target. A
// symlink is followed to its final target (the link stays a link); the target keeps its
// permission bits; a target the user cannot write is kReadOnly and stays untouched. The one
// temporary file a crash may leave behind is reused and removed by the next save. The save
// takes its turn (SaveTurn) for the file, waiting up to kSaveWait for another program's save,
// or writes through the turn this process already holds.
Status ReplaceFile(const std::filesystem::path& path, const std::string& content);

// Hands one piece of the new content to the temporary file; false when writing it failed.
using ChunkWriter = std::function<bool(std::string_view chunk)>;
// ReplaceFile for content made piece by piece, so that a large file never has to be held in
// memory whole: `produce` passes the content to the writer in order and returns true when it
// is complete. When it returns false the target stays as it was, and the outcome is the
// write's failure or, when the producer itself gave up, kIoError with systemError 0.
Status ReplaceFileWith(const std::filesystem::path& path,
                       const std::function<bool(const ChunkWriter& write)>& produce);

// Creates a new file holding `content`, flushed to the disk; fails when the name exists.
Status WriteNewFile(const std::filesystem::path& path, const std::string& content);

// True when the user may write the file or, for a folder, create files in it.
bool UserCanWrite(const std::filesystem::path& path);

// Creates the folder and any missing parents, private to the user (0700 on POSIX). An existing
// folder is fine.
Status CreatePrivateFolder(const std::filesystem::path& path);

// Removes the temporary file a save of `path` left behind when it was killed, unless a save is
// running right now.
void RemoveStaleTemporary(const std::filesystem::path& path);
}  // namespace fileio
