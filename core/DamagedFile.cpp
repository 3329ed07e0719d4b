#include "core/DamagedFile.h"

#include <chrono>
#include <ctime>
#include <mutex>
#include <set>
#include <utility>

#include "core/fileio/FileIo.h"
#include "util/ExeDir.h"
#include "util/GbkText.h"

namespace {

std::mutex g_reportsMutex;
std::vector<DamagedFile> g_pending;
std::set<std::pair<std::filesystem::path, std::filesystem::path>> g_reported;
thread_local std::vector<DamagedFile>* t_held = nullptr;

// The time the file was last written, as local time "YYYYMMDD-HHMMSS": the same damaged file
// always gets the same name, and the user sees when it was written.
std::string WrittenStamp(const std::filesystem::path& path) {
    std::error_code ec;
    const auto written = std::filesystem::last_write_time(path, ec);
    if (ec) {
        return "unknown";
    }
    const std::time_t seconds = std::chrono::system_clock::to_time_t(
        std::chrono::time_point_cast<std::chrono::system_clock::duration>(
            std::chrono::file_clock::to_sys(written)));
    static std::mutex timeMutex;  // std::localtime shares one buffer
    std::lock_guard<std::mutex> lock(timeMutex);
    char text[32] = "unknown";
    if (const std::tm* local = std::localtime(&seconds)) {
        std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", local);
    }
    return text;
}

// Copies `bytes` to the first free name of the series, or finds a copy already holding them.
std::filesystem::path CopyAside(const std::filesystem::path& path, const std::string& bytes) {
    const std::filesystem::path::string_type base =
        path.native() + std::filesystem::path(".damaged-" + WrittenStamp(path)).native();
    for (int n = 1; n <= 100; ++n) {
        std::filesystem::path candidate = base;
        if (n > 1) {
            candidate += std::string(1, '-').append(std::to_string(n));
        }
        std::error_code ec;
        const auto status = std::filesystem::symlink_status(candidate, ec);
        if (status.type() == std::filesystem::file_type::not_found) {
            return fileio::WriteNewFile(candidate, bytes).ok() ? candidate
                                                               : std::filesystem::path();
        }
        // Compare contents only where the sizes agree: damaged files can be large.
        std::string existing;
        if (std::filesystem::is_regular_file(status) &&
            std::filesystem::file_size(candidate, ec) == bytes.size() && !ec &&
            fileio::ReadWholeFile(candidate, existing).ok() && existing == bytes) {
            return candidate;
        }
    }
    return {};
}

}  // namespace

DamagedFile PreserveDamagedFile(const std::filesystem::path& path, size_t stopOffset,
                                size_t records) {
    DamagedFile note{path, stopOffset, records, {}};
    std::string bytes;
    if (fileio::ReadWholeFile(path, bytes).ok()) {
        note.copy = CopyAside(path, bytes);
    }
    if (t_held != nullptr) {
        t_held->push_back(note);
    } else {
        NoteDamagedFiles({note});
    }
    return note;
}

void HoldDamagedFileNotes(std::vector<DamagedFile>* held) {
    t_held = held;
}

void NoteDamagedFiles(const std::vector<DamagedFile>& files) {
    std::lock_guard<std::mutex> lock(g_reportsMutex);
    for (const DamagedFile& note : files) {
        if (g_reported.emplace(note.path, note.copy).second) {
            g_pending.push_back(note);
        }
    }
}

std::vector<DamagedFile> TakeDamagedFileReports() {
    std::lock_guard<std::mutex> lock(g_reportsMutex);
    return std::exchange(g_pending, {});
}

std::string DamagedFileMessage(const DamagedFile& file) {
    std::string text = GBK("数据文件“") + PathText(file.path) + GBK("”已损坏: 读到第 ") +
                       std::to_string(file.stopOffset) + GBK(" 字节时无法继续, 之前的 ") +
                       std::to_string(file.records) + GBK(" 条记录已读入, 其后的内容没有读入。\n");
    if (file.copy.empty()) {
        text += GBK("无法保存这个文件的副本; 为了不丢失没有读入的内容, 本次运行不会覆盖它。");
    } else {
        text += GBK("原文件已原样保存为“") + PathText(file.copy) +
                GBK("”, 没有读入的内容可以从那里找回。");
    }
    return text;
}
