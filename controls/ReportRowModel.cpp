#include "controls/ReportRowModel.h"

#include <utility>

#include "util/FieldString.h"
#include "util/GbkText.h"

const std::string& TermColumns() {
    static const std::string columns = GBK("术语|汉意");
    return columns;
}

int TermColumnCount() {
    return CFieldString(TermColumns()).CountOf("|") + 1;
}

int CReportRowModel::SetHighlightMode(int mode) {
    if (mode < 0 || mode > 2) {
        return m_highlightMode;
    }
    return std::exchange(m_highlightMode, mode);
}

void CReportRowModel::AddColumnsFromSpec(const std::string& columns, int count) {
    const CFieldString fields(columns);
    for (int i = 0; i < count; ++i) {
        const std::string title = fields.GetField(i).str();
        AddColumn(title, static_cast<int>(title.size()) * 6 + 20);
    }
}

int CReportRowModel::AddColumn(const std::string& title, int width) {
    if (width == -1) {
        width = m_columns.empty() ? 0 : m_columns.back().width;
    }
    m_columns.push_back(ReportColumn{title, width});
    for (ReportRow& row : m_rows) {
        row.cells.resize(m_columns.size());
    }
    return GetColumnCount() - 1;
}

void CReportRowModel::SetColumnWidth(int column, int width) {
    if (column >= 0 && column < GetColumnCount()) {
        m_columns[column].width = width;
    }
}

void CReportRowModel::DeleteAllRows() {
    m_rows.clear();
    m_text.Clear();
}

void CReportRowModel::InsertRow(const std::string& rowText, char separator) {
    CFieldString::SetSeparator(separator);
    InsertRow(rowText);
    CFieldString::RestoreSeparator();
}

void CReportRowModel::InsertRow(const std::string& rowText) {
    // Cell i is field i at the current separator, split in one pass.
    const char separator = CFieldString::CurrentSeparator();
    const std::string_view text(rowText);
    ReportRow& row = m_rows.emplace_back();
    row.cells.resize(m_columns.size());
    size_t start = 0;
    for (size_t i = 0; i < row.cells.size(); ++i) {
        std::string_view& cell = row.cells[i];
        if (start >= text.size()) {
            break;
        }
        size_t end = text.find(separator, start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view field = text.substr(start, end - start);
        cell = StoreCell(field);
        start = end + 1;
    }
}

std::string_view CReportRowModel::StoreCell(std::string_view text) {
    return text.size() > kMaxCellBytes ? m_text.Store(gbk::TruncateBytes(text, kMaxCellBytes))
                                       : m_text.Store(text);
}

void CReportRowModel::SetFixedColumnWidths() {
    for (ReportColumn& column : m_columns) {
        column.width = kFixedColumnWidth;
    }
}

bool CReportRowModel::SortRows(int column, bool ascending, int first, int last) {
    if (column < 0 || column >= GetColumnCount()) {
        return false;
    }
    if (last == -1) {
        last = GetRowCount() - 1;
    }
    if (first < 0 || last >= GetRowCount() || last <= first) {
        return false;
    }
    Quicksort(column, ascending, first, last);
    return true;
}

void CReportRowModel::Quicksort(int column, bool ascending, int first, int last) {
    // Hoare-style partition around the middle row's text; recursion goes into the smaller part
    // and the loop continues with the larger one, so the depth stays logarithmic.
    // The pivot is a view of the arena, which swapping rows leaves in place.
    while (first < last) {
        const std::string_view pivot = m_rows[(first + last) / 2].cells[column];
        auto before = [&](int row) {
            const int c = m_rows[row].cells[column].compare(pivot);
            return ascending ? c < 0 : c > 0;
        };
        auto after = [&](int row) {
            const int c = m_rows[row].cells[column].compare(pivot);
            return ascending ? c > 0 : c < 0;
        };
        int i = first;
        int j = last;
        while (i <= j) {
            while (i < last && before(i)) {
                ++i;
            }
            while (j > first && after(j)) {
                --j;
            }
            if (i <= j) {
                if (m_rows[i].cells[column] != m_rows[j].cells[column]) {
                    std::swap(m_rows[i], m_rows[j]);
                }
                ++i;
                --j;
            }
        }
        if (j - first < last - i) {
            if (first < j) {
                Quicksort(column, ascending, first, j);
            }
            first = i;
        } else {
            if (i < last) {
                Quicksort(column, ascending, i, last);
            }
            last = j;
        }
    }
}

bool CReportRowModel::EnsureVisible(int row, bool /*partialOk*/) {
    if (!ValidRow(row)) {
        return false;
    }
    m_lastEnsuredRow = row;
    return true;
}

bool CReportRowModel::SetCellText(int row, int column, const std::string& text) {
    if (!ValidRow(row) || column < 0 || column >= GetColumnCount()) {
        return false;
    }
    m_rows[row].cells[column] = StoreCell(text);
    return true;
}

bool CReportRowModel::DeleteRow(int row) {
    m_currentRow = -1;
    if (!ValidRow(row)) {
        return false;
    }
    m_rows.erase(m_rows.begin() + row);
    return true;
}

std::string_view CReportRowModel::CellText(int row, int column) const {
    return m_rows.at(row).cells.at(column);
}

void CReportRowModel::SelectOnly(int row) {
    for (int i = 0; i < GetRowCount(); ++i) {
        m_rows[i].state.selected = i == row;
        m_rows[i].state.focused = i == row;
    }
}

int CReportRowModel::SelectedRow() const {
    for (int i = 0; i < GetRowCount(); ++i) {
        if (m_rows[i].state.selected) {
            return i;
        }
    }
    return -1;
}

std::string CReportRowModel::GetRowText(char separator) const {
    if (!ValidRow(m_currentRow)) {
        return {};
    }
    std::string joined;
    const CellList& cells = m_rows[m_currentRow].cells;
    for (size_t i = 0; i < cells.size(); ++i) {
        joined.append(cells[i]).push_back(separator);
    }
    return CFieldString(joined).DropLastChar().str();
}

bool CReportRowModel::SortByHeaderClick(int column) {
    m_sortAscending = column == m_sortColumn ? !m_sortAscending : true;
    m_sortColumn = column;
    return SortRows(column, m_sortAscending, 0, -1);
}

std::string CReportRowModel::RowDetailsText(int row) const {
    if (!ValidRow(row)) {
        return {};
    }
    std::string text = GBK("第");
    text.append(std::to_string(row + 1)).append(GBK("行")).append("\n\n");
    for (int i = 0; i < GetColumnCount(); ++i) {
        text.append("(").append(std::to_string(i + 1)).append(") ");
        text.append(m_columns[i].title).append(" : ").append(m_rows[row].cells[i]).append("\n");
    }
    return text;
}
