// Fuzzes the pair-file reader and the glossary's loader against each other:
//  - whatever the bytes, parsing ends, and records that parse survive a write and a re-read;
//  - the glossary's fast load agrees with the pair file's own map read term by term.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <unordered_map>

#include "core/DamagedFile.h"
#include "core/Glossary.h"
#include "core/PairFile.h"

namespace {

std::string TempPath(const char* name) {
    return "/tmp/termix-fuzz-" + std::to_string(getpid()) + "-" + name;
}

// Damaged inputs are copied aside by every read; the copies of one input go before the next.
void RemoveDamagedCopies(const std::string& path) {
    const std::string prefix = std::filesystem::path(path).filename().string() + ".damaged-";
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/tmp", ec)) {
        if (entry.path().filename().string().rfind(prefix, 0) == 0) {
            std::filesystem::remove(entry.path(), ec);
        }
    }
    TakeDamagedFileReports();
}

void Write(const std::string& path, const uint8_t* data, size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(data, 1, size, f);
    std::fclose(f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = TempPath("pairs");
    RemoveDamagedCopies(path);
    Write(path, data, size);

    std::unordered_map<std::string, std::string> pairs;
    {
        Qm_conf_solitude_File file(path, "#", "\r\n");
        std::string key;
        std::string value;
        file.Rewind();
        while (file.Next(key, value)) {
            pairs[key] = value;
        }
        file.Discard();
    }

    // Round trip: what was read is written and read back unchanged.
    const std::string text = Qm_conf_solitude_File::Serialize(pairs, "#", "\r\n");
    std::unordered_map<std::string, std::string> again;
    Qm_conf_solitude_File::ParseRecords(text, "#", "\r\n",
                                        [&again](std::string_view k, std::string_view v) {
                                            again[std::string(k)] = std::string(v);
                                        });
    if (again != pairs) {
        __builtin_trap();
    }

    // The glossary holds exactly the terms of the pair file's records.
    std::map<std::string, int> termCounts;
    std::map<std::string, CTermRecord> byTerm;
    for (const auto& [key, value] : pairs) {
        CTermRecord record;
        record.FromText(value, CTermRecord::kSeparator);
        ++termCounts[record.m_cs_term];
        byTerm[record.m_cs_term] = record;
    }
    CGlossary glossary(path);
    if (static_cast<size_t>(glossary.GetCount()) != termCounts.size()) {
        __builtin_trap();
    }
    for (const auto& [term, count] : termCounts) {
        CTermRecord stored;
        if (!glossary.Get(term, stored)) {
            __builtin_trap();
        }
        // Which of several records with one term survives is not determined.
        if (count == 1 && !(stored == byTerm[term])) {
            __builtin_trap();
        }
    }
    unlink(path.c_str());
    return 0;
}
