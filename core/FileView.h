#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/FileIo.h"

// The whole content of a file, read-only, for a program that reads a file once and ends. On
// POSIX the file is mapped into memory, so nothing is copied or zero-filled; elsewhere, or
// where a file cannot be mapped, it is read. The rules are those of fileio::ReadWholeFile.
class FileView {
public:
    FileView() = default;
    ~FileView();
    FileView(const FileView&) = delete;
    FileView& operator=(const FileView&) = delete;

    fileio::Status Open(const std::filesystem::path& path);
    std::string_view Bytes() const { return m_bytes; }
    // Whether the bytes are a mapping of the file rather than a copy.
    bool Mapped() const { return m_mapping != nullptr; }
    // Whether this system maps files at all.
    static bool MapsFiles();

private:
    void Close();

    std::string_view m_bytes;
    void* m_mapping = nullptr;  // what to unmap, when the bytes are a mapping
    std::string m_read;         // the bytes, when they were read
};
