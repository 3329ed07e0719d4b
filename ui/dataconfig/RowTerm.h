#pragma once

#include <string>

#include "controls/SortListCtrl.h"
#include "util/FieldString.h"

// The term of a list's current row: field 0 of the row's cells joined by 0x08. Empty without a
// current row.
inline std::string TermOfCurrentRow(const CSortListCtrl& list) {
    return CFieldString(list.GetRowText(IReportList::kRowSeparator))
        .GetField(0, IReportList::kRowSeparator)
        .str();
}
