// Fuzzes field extraction, counting and the row model's insertion and sort.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "controls/ReportRowModel.h"
#include "util/FieldString.h"
#include "util/GbkText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) {
        return 0;
    }
    const char separator = static_cast<char>(data[0]);
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    const CFieldString fields(text);
    // Joining every field with the separator gives the text back.
    std::string joined;
    const int separators = static_cast<int>(std::count(text.begin(), text.end(), separator));
    for (int i = 0; i <= separators; ++i) {
        if (i > 0) {
            joined.push_back(separator);
        }
        joined += fields.GetField(i, separator).str();
    }
    if (joined != text || !fields.GetField(separators + 1, separator).str().empty()) {
        __builtin_trap();
    }
    fields.CountOf(std::string(1, separator));
    gbk::Find(text, text.substr(text.size() / 2));
    gbk::ToLower(text);

    CReportRowModel list;
    list.AddColumnsFromSpec("a|b|c", 3);
    for (int i = 0; i <= separators; ++i) {
        list.InsertRow(fields.GetField(i, separator).str(), '\n');
    }
    list.SortRows(0, (data[0] & 1) != 0, 0, -1);
    for (int i = 1; i < list.GetRowCount(); ++i) {
        const int c = list.CellText(i - 1, 0).compare(list.CellText(i, 0));
        if ((data[0] & 1) != 0 ? c > 0 : c < 0) {
            __builtin_trap();
        }
    }
    return 0;
}
