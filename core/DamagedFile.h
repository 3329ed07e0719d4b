#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

// A data file whose reading stopped before its end. The records after that byte were not read,
// so the file's bytes are copied aside before anything may replace the file.
struct DamagedFile {
    std::filesystem::path path;
    size_t stopOffset = 0;       // the byte where reading stopped
    size_t records = 0;          // the records read before it
    std::filesystem::path copy;  // the intact copy beside the file; empty when none could be made
};

// Keeps the bytes of a damaged file: copies it to "<name>.damaged-<time it was last written>"
// beside it, or finds such a copy with the same bytes made earlier, so one damaged file gets one
// copy however often it is read. Notes the file for TakeDamagedFileReports once per run.
DamagedFile PreserveDamagedFile(const std::filesystem::path& path, size_t stopOffset,
                                size_t records);

// The damaged files noted since the last call, each file and copy once per run.
std::vector<DamagedFile> TakeDamagedFileReports();

// While `held` is set, the damaged files this thread notes go there instead of to
// TakeDamagedFileReports (nullptr ends it). A load on a worker thread keeps its notes until its
// result is used, so the user hears of each file at the step that reads it.
void HoldDamagedFileNotes(std::vector<DamagedFile>* held);
// Notes files held earlier, as PreserveDamagedFile would have.
void NoteDamagedFiles(const std::vector<DamagedFile>& files);

// What the user is told about a damaged file (GBK).
std::string DamagedFileMessage(const DamagedFile& file);
