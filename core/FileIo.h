#pragma once

#include <string>

// Whole-file reads and crash-safe whole-file writes for the pair file. Paths are GBK.
namespace fileio {

enum class ReadResult { kOk, kNotOpened, kError };

// Reads the whole file in one piece. kNotOpened: the file could not be opened (missing, no
// access); kError: it opened but reading failed.
ReadResult ReadWholeFile(const std::string& path, std::string& content);

// Writes `content` to a temporary file in the same directory, flushes it to the disk and
// renames it over `path`. Returns false, leaving any old file untouched, when any step fails.
bool ReplaceFile(const std::string& path, const std::string& content);

}  // namespace fileio
