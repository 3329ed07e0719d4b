#pragma once

#include <string>

// The report list the stores fill: the queries delete all rows, insert one row per match from
// a separated text, fix the column widths and sort; the editing operations change one row.
class IReportList {
public:
    static constexpr char kRowSeparator = 0x08;

    virtual ~IReportList() = default;

    virtual void DeleteAllRows() = 0;
    // Appends a row whose cells are the fields of `rowText` split at `separator`.
    virtual void InsertRow(const std::string& rowText, char separator) = 0;
    virtual void SetFixedColumnWidths() = 0;
    // Sorts rows first..last (-1 = the last row) by the text of `column`; false when nothing
    // was sorted.
    virtual bool SortRows(int column, bool ascending, int first, int last) = 0;
    virtual int GetRowCount() const = 0;
    // Scrolls row `row` into view; with `partialOk` false it must become fully visible.
    virtual bool EnsureVisible(int row, bool partialOk) = 0;
    virtual bool SetCellText(int row, int column, const std::string& text) = 0;
    virtual bool DeleteRow(int row) = 0;
};
