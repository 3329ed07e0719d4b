#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "controls/TextArena.h"
#include "core/ReportList.h"

// A column; its title and cells are drawn left-aligned.
struct ReportColumn {
    std::string title;
    int width = 0;  // pixels
};

// The column specification of every list of terms, "术语|汉意" (GBK), and the number of its
// columns: its "|" plus one.
const std::string& TermColumns();
int TermColumnCount();

// Per-row attributes that travel with their row when rows are sorted.
struct RowState {
    bool selected = false;
    bool focused = false;
    std::intptr_t data = 0;
};

// The cells of one row (GBK), as views of the text the model owns. The program's lists have one
// or two columns, so two cells live in the row itself and a sort touches no other memory to reach
// them; more go to a vector.
class CellList {
public:
    size_t size() const { return m_size; }
    void resize(size_t count) {
        for (size_t i = count; i < std::min(m_size, kInline); ++i) {
            m_inline[i] = {};
        }
        m_more.resize(count > kInline ? count - kInline : 0);
        m_size = count;
    }
    std::string_view& operator[](size_t i) {
        return i < kInline ? m_inline[i] : m_more[i - kInline];
    }
    std::string_view operator[](size_t i) const {
        return i < kInline ? m_inline[i] : m_more[i - kInline];
    }
    std::string_view at(size_t i) const {
        if (i >= m_size) {
            throw std::out_of_range("cell index");
        }
        return (*this)[i];
    }

private:
    static constexpr size_t kInline = 2;
    std::string_view m_inline[kInline];
    std::vector<std::string_view> m_more;
    size_t m_size = 0;
};

struct ReportRow {
    CellList cells;  // one per column
    RowState state;
};

// The rows, columns and options of a report list, without any toolkit: column set-up from
// "|"-joined titles, insertion from a separated text, the joined text of the current row, the
// quicksort by one column and the header-click direction state. A list on screen owns one.
// The cells' text lives in the model's arena: filling appends to it, and deleting all rows frees
// it at once; text that an edit or a row deletion leaves behind is freed then too.
class CReportRowModel : public IReportList {
public:
    static constexpr size_t kMaxCellBytes = 10239;
    static constexpr int kFixedColumnWidth = 110;
    using DblClkHandler = std::function<void(const std::string& rowText)>;

    // Options.
    int SetHighlightMode(int mode);  // 0..2; returns the previous mode, ignores larger values
    int GetHighlightMode() const { return m_highlightMode; }
    void SetStripes(bool on) { m_stripes = on; }
    bool GetStripes() const { return m_stripes; }
    void SetRowDetailsOnDblClk(bool on) { m_rowDetailsOnDblClk = on; }
    bool GetRowDetailsOnDblClk() const { return m_rowDetailsOnDblClk; }
    void SetDblClkHandler(DblClkHandler handler) { m_dblClkHandler = std::move(handler); }
    const DblClkHandler& GetDblClkHandler() const { return m_dblClkHandler; }

    // Columns. Widths from the column specification are (title bytes) * 6 + 20.
    void AddColumnsFromSpec(const std::string& columns, int count);
    // Appends a column; width -1 copies the width of the current last column.
    int AddColumn(const std::string& title, int width);
    int GetColumnCount() const { return static_cast<int>(m_columns.size()); }
    const ReportColumn& Column(int column) const { return m_columns.at(column); }
    void SetColumnWidth(int column, int width);

    // Rows.
    void DeleteAllRows() override;
    void InsertRow(const std::string& rowText, char separator) override;
    // Inserts under the current separator.
    void InsertRow(const std::string& rowText);
    void SetFixedColumnWidths() override;
    bool SortRows(int column, bool ascending, int first, int last) override;
    int GetRowCount() const override { return static_cast<int>(m_rows.size()); }
    bool EnsureVisible(int row, bool partialOk) override;
    bool SetCellText(int row, int column, const std::string& text) override;
    bool DeleteRow(int row) override;

    // A view of the model's own text: edits and sorts leave it in place; it is valid until all
    // rows are deleted.
    std::string_view CellText(int row, int column) const;
    RowState& State(int row) { return m_rows.at(row).state; }
    const RowState& State(int row) const { return m_rows.at(row).state; }
    // Selects exactly `row` (-1: none) and gives it the focus.
    void SelectOnly(int row);
    int SelectedRow() const;

    // The row under the last mouse press, or -1.
    int GetCurrentRow() const { return m_currentRow; }
    void SetCurrentRow(int row) { m_currentRow = row; }
    // The cells of the current row joined by `separator`; empty without a current row.
    std::string GetRowText(char separator) const;

    // A left click on a column header: flips the direction when it is the remembered column,
    // sorts ascending otherwise, and sorts all rows.
    bool SortByHeaderClick(int column);
    bool GetSortAscending() const { return m_sortAscending; }

    // The row-details message of row `row`: "第N行", a blank line, "(i) title : text" per column.
    std::string RowDetailsText(int row) const;

    // The last row an ensure-visible request named, -1 before any; the view scrolls to it.
    int LastEnsuredRow() const { return m_lastEnsuredRow; }

private:
    bool ValidRow(int row) const { return row >= 0 && row < GetRowCount(); }
    // Copies `text`, cut to the cell limit at a character boundary, into the arena.
    std::string_view StoreCell(std::string_view text);
    void Quicksort(int column, bool ascending, int first, int last);

    std::vector<ReportColumn> m_columns;
    std::vector<ReportRow> m_rows;
    TextArena m_text;
    int m_highlightMode = 1;
    int m_sortColumn = -1;
    bool m_sortAscending = true;
    int m_currentRow = -1;
    bool m_stripes = true;
    bool m_rowDetailsOnDblClk = true;
    DblClkHandler m_dblClkHandler;
    int m_lastEnsuredRow = -1;
};
