#pragma once

#include <filesystem>
#include <string>

// The directory of the running executable, in the file system's own form (bytes on POSIX,
// UTF-16 on Windows), ending in the path separator. Every data file of the program lives there;
// paths stay in this form so that any folder name works.
std::filesystem::path ExeDirPath();

// The same directory as GBK text, ending in the separator, for showing it to the user.
std::string GetExeDir();

// Makes ExeDirPath return `dir` (ending in the separator) instead; an empty path undoes it.
// Tests use it to point the stores at a directory of their own.
void SetExeDirForTesting(const std::filesystem::path& dir);

// The executable's directory as the system reports it (the platform part of ExeDirPath).
std::filesystem::path SystemExeDir();

// The platform's path separator as text.
const char* PathSeparator();

// A path as GBK text, for showing it to the user: characters GBK cannot hold become "?".
std::string PathText(const std::filesystem::path& path);
