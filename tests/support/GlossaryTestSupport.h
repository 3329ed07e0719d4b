#pragma once

#include <string>
#include <vector>

#include "controls/ReportRowModel.h"
#include "util/GbkText.h"

// A two-column list like the program's term lists.
inline CReportRowModel MakeTermList() {
    CReportRowModel list;
    list.SetHighlightMode(2);
    list.AddColumnsFromSpec(TermColumns(), TermColumnCount());
    return list;
}

inline std::vector<std::string> Column(const CReportRowModel& list, int column) {
    std::vector<std::string> cells;
    for (int i = 0; i < list.GetRowCount(); ++i) {
        cells.emplace_back(list.CellText(i, column));
    }
    return cells;
}
