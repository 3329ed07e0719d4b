#pragma once

#include <filesystem>
#include <string>

// A fresh directory for one test, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // Path of the directory, ending in the separator. It is plain ASCII, so it reads the same as
    // narrow text on every system.
    const std::string& path() const { return m_path; }
    // Native path of a file in it.
    std::string file(const std::string& name) const { return m_path + name; }

    static void WriteBytes(const std::filesystem::path& path, const std::string& bytes);
    static std::string ReadBytes(const std::filesystem::path& path);
    static bool Exists(const std::filesystem::path& path);

private:
    std::string m_path;
};
