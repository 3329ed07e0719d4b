#pragma once

#include <filesystem>
#include <set>
#include <string>

#include "core/PairFile.h"

// Helpers of the file-safety tests.
namespace file_test {

inline const std::string kAbc = "0003#ABC = 0003#xyz\r\n";

// The message a pair file raises when it cannot be read, or "" when it reads.
inline std::string ReadError(const std::filesystem::path& path) {
    try {
        Qm_conf_solitude_File file(path, "#", "\r\n");
        file.Discard();
    } catch (const Qm_conf_solitude_Exception& e) {
        return e.m_message;
    }
    return {};
}

inline bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.rfind(prefix, 0) == 0;
}

inline std::set<std::string> Names(const std::filesystem::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

}  // namespace file_test
