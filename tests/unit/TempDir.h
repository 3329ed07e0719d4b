#pragma once

#include <string>

// A fresh directory for one test, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // Native path of the directory, ending in "/".
    const std::string& path() const { return m_path; }
    // Native path of a file in it.
    std::string file(const std::string& name) const { return m_path + name; }

    static void WriteBytes(const std::string& path, const std::string& bytes);
    static std::string ReadBytes(const std::string& path);
    static bool Exists(const std::string& path);

private:
    std::string m_path;
};
