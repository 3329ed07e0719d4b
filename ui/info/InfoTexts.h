#pragma once

#include <filesystem>
#include <string>
#include <vector>

// The rows the information window shows in each of its modes, all GBK, without any toolkit.
namespace info_texts {

// The modes, as the callers name them (GBK).
const std::string& ModeDataConfigHelp();  // "数据配置"
const std::string& ModeAbout();           // "关于"
const std::string& ModeReadme();          // "readme.txt"

// The 27 rows of the data configuration window's help text.
std::vector<std::string> HelpRows();

// A text cut into rows at each CR LF, each row keeping its CR LF; bytes after the last CR LF
// are not shown.
std::vector<std::string> SplitAtCrLf(const std::string& text);

// The development log: one row per line of `path` (CR LF or LF line breaks, the last line shown
// also without a line break). When the file cannot be read, the single row
// "读“<path>”文件失败".
std::vector<std::string> ReadmeRows(const std::filesystem::path& path);

// The rows of `mode` (`readme` is the development log's file); any other mode has none.
std::vector<std::string> RowsForMode(const std::string& mode, const std::filesystem::path& readme);

}  // namespace info_texts
