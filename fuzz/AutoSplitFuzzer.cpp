// Fuzzes the copied-entry split: it ends, and every field is trimmed and taken from the text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/AutoSplit.h"

namespace {
bool Trimmed(const std::string& s) {
    auto blank = [](char c) { return (c >= 0x09 && c <= 0x0D) || c == ' '; };
    return s.empty() || (!blank(s.front()) && !blank(s.back()));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const SplitEntry entry = SplitCopiedEntry(text);
    for (const std::string* field : {&entry.term, &entry.meaning, &entry.explanation}) {
        if (!Trimmed(*field) || text.find(*field) == std::string::npos) {
            __builtin_trap();
        }
    }
    return 0;
}
