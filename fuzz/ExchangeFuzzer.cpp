// Fuzzes the tsv, csv and tbx readers (TBX v2 and v3, UTF-16, header names, columns named by
// position): whatever the bytes, reading ends; and every glossary a reader accepts is written
// by the same format and read back to the same records.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/exchange/GlossaryExchange.h"

namespace {

void RoundTrip(glossary_exchange::Format format, std::string_view text,
               const glossary_exchange::ReadOptions& options) {
    const glossary_exchange::ReadResult first = glossary_exchange::Read(format, text, options);
    if (!first.errors.empty()) {
        return;
    }
    std::vector<CTermRecord> records;
    for (const glossary_exchange::Entry& entry : first.entries) {
        records.emplace_back(entry.record);
    }
    std::string written;
    std::string error;
    if (!glossary_exchange::Write(format, glossary_exchange::ViewsOf(records), written, error)) {
        return;  // a record the format cannot carry: refused, not garbled
    }
    const glossary_exchange::ReadResult second = glossary_exchange::Read(format, written);
    if (!second.errors.empty() || second.entries.size() != records.size()) {
        __builtin_trap();
    }
    for (size_t i = 0; i < records.size(); ++i) {
        if (!(second.entries[i].record == records[i].View())) {
            __builtin_trap();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    // The first byte chooses the reader, the format written back, and the columns.
    using glossary_exchange::Format;
    const Format formats[] = {Format::kCsv, Format::kTbx, Format::kTsv, Format::kTbxV2};
    const Format format = formats[data[0] % 4];
    glossary_exchange::ReadOptions options;
    if ((data[0] & 0x10) != 0 && (format == Format::kCsv || format == Format::kTsv)) {
        options.columns = glossary_exchange::Columns{1, 0, (data[0] & 0x20) != 0 ? 2 : -1};
    }
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    RoundTrip(format, text, options);
    return 0;
}
