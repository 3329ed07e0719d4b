#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/fileio/FileIo.h"
#include "core/fileio/FileStamp.h"

// The whole content of a file, read-only, for a program that reads a file once and ends. On
// POSIX the file is mapped into memory, so nothing is copied or zero-filled; elsewhere, or
// where a file cannot be mapped, it is read. The rules are those of fileio::ReadWholeFile.
class FileView {
public:
    FileView() = default;
    ~FileView();
    FileView(const FileView&) = delete;
    FileView& operator=(const FileView&) = delete;

    // Whether a mapping's pages are set up when the file is opened, or left to the reader, who
    // may set them up a stretch at a time (Prefetch).
    enum class Pages { kAtOnce, kByReader };

    fileio::Status Open(const std::filesystem::path& path, Pages pages = Pages::kAtOnce);
    std::string_view Bytes() const { return m_bytes; }
    // Whether the bytes are a mapping of the file rather than a copy.
    bool Mapped() const { return m_mapping != nullptr; }
    // For a mapping: sets up the pages of the bytes [begin, end) in one call rather than one
    // fault at a time, and gives up those of whole pages within them once read, so that the
    // process's end has fewer to tear down. Given-up bytes stay readable (read again from the
    // file's cache when touched). Nothing for bytes that were read.
    void Prefetch(size_t begin, size_t end) const;
    void Release(size_t begin, size_t end) const;
    // Appends the bytes [offset, offset + size) of the file, as far as it has them, to `out`.
    // For a mapping they are read from the file rather than through the mapping's pages: a few
    // small pieces of a large file cost a read each instead of a page fault each, which takes
    // many times longer. False when the file could not be read there.
    bool ReadAt(size_t offset, size_t size, std::string& out) const;
    // The stamp of the file opened, where the system gives one (POSIX).
    const std::optional<FileStamp>& Stamp() const { return m_stamp; }
    // Whether this system maps files at all.
    static bool MapsFiles();

private:
    void Close();

    std::string_view m_bytes;
    void* m_mapping = nullptr;  // what to unmap, when the bytes are a mapping
    int m_fd = -1;              // the mapped file, open for ReadAt
    std::string m_read;         // the bytes, when they were read
    std::optional<FileStamp> m_stamp;
};
