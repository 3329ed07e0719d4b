#pragma once

#include <string>

// The directory of the running executable as GBK text, ending in the path separator. Every data
// file of the program lives there.
std::string GetExeDir();

// Makes GetExeDir return `dir` (GBK, ending in the separator) instead; an empty text undoes it.
// Tests use it to point the stores at a directory of their own.
void SetExeDirForTesting(const std::string& dir);

// The executable's directory as the system reports it (the platform part of GetExeDir).
std::string SystemExeDir();

// The platform's path separator as text.
const char* PathSeparator();

// The name of a file in GBK turned into the platform's native file name (UTF-8 on POSIX).
std::string NativePath(const std::string& gbkPath);
