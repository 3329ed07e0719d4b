#include "controls/ReportTableModel.h"

#include <vector>

#include "controls/QtText.h"

ReportTableModel::ReportTableModel(CReportRowModel& rows, QObject* parent)
    : QAbstractTableModel(parent), m_rows(rows) {}

int ReportTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows.GetRowCount();
}

int ReportTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows.GetColumnCount();
}

QVariant ReportTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    return qtext::ToQt(m_rows.CellText(index.row(), index.column()));
}

QVariant ReportTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= m_rows.GetColumnCount()) {
        return {};
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    return qtext::ToQt(m_rows.Column(section).title);
}

Qt::ItemFlags ReportTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void ReportTableModel::DeleteAllRows() {
    if (!m_inFill) {
        beginResetModel();
        m_inFill = true;
    }
    m_rows.DeleteAllRows();
}

void ReportTableModel::EndFill() {
    if (m_inFill) {
        m_inFill = false;
        endResetModel();
    }
}

void ReportTableModel::BeginInsertOne() {
    const int row = m_rows.GetRowCount();
    beginInsertRows(QModelIndex(), row, row);
}

void ReportTableModel::InsertRow(const std::string& rowText, char separator) {
    if (m_inFill) {
        m_rows.InsertRow(rowText, separator);
        return;
    }
    BeginInsertOne();
    m_rows.InsertRow(rowText, separator);
    endInsertRows();
}

void ReportTableModel::InsertRow(const std::string& rowText) {
    if (m_inFill) {
        m_rows.InsertRow(rowText);
        return;
    }
    BeginInsertOne();
    m_rows.InsertRow(rowText);
    endInsertRows();
}

bool ReportTableModel::DeleteRow(int row) {
    EndFill();
    if (row < 0 || row >= m_rows.GetRowCount()) {
        return m_rows.DeleteRow(row);  // clears the current row and reports the failure
    }
    beginRemoveRows(QModelIndex(), row, row);
    const bool removed = m_rows.DeleteRow(row);
    endRemoveRows();
    return removed;
}

bool ReportTableModel::SetCellText(int row, int column, const std::string& text) {
    EndFill();
    if (!m_rows.SetCellText(row, column, text)) {
        return false;
    }
    const QModelIndex cell = index(row, column);
    emit dataChanged(cell, cell, {Qt::DisplayRole});
    return true;
}

int ReportTableModel::AddColumn(const std::string& title, int width) {
    EndFill();
    const int column = m_rows.GetColumnCount();
    beginInsertColumns(QModelIndex(), column, column);
    const int added = m_rows.AddColumn(title, width);
    endInsertColumns();
    return added;
}

template <typename SortStep>
bool ReportTableModel::SortWithLayoutChange(SortStep sort) {
    if (m_inFill) {
        // Rows appended by a fill are sorted before the view sees any of them.
        const bool sorted = sort();
        EndFill();
        return sorted;
    }
    // Each row carries its old position in its item data while it is sorted, so the persistent
    // indexes (selection, current index) can follow their rows; the item data is put back.
    const int count = m_rows.GetRowCount();
    std::vector<std::intptr_t> saved(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        saved[static_cast<size_t>(i)] = m_rows.State(i).data;
        m_rows.State(i).data = i;
    }
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const bool sorted = sort();
    std::vector<int> newRowOf(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const auto oldRow = static_cast<size_t>(m_rows.State(i).data);
        newRowOf[oldRow] = i;
        m_rows.State(i).data = saved[oldRow];
    }
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& old : before) {
        after.append(index(newRowOf[static_cast<size_t>(old.row())], old.column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    return sorted;
}

bool ReportTableModel::SortRows(int column, bool ascending, int first, int last) {
    return SortWithLayoutChange([&] { return m_rows.SortRows(column, ascending, first, last); });
}

bool ReportTableModel::SortByHeaderClick(int column) {
    return SortWithLayoutChange([&] { return m_rows.SortByHeaderClick(column); });
}
