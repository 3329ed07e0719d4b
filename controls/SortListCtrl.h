#pragma once

#include <QTableView>
#include <functional>
#include <string>

#include "controls/ReportRowModel.h"
#include "core/ReportList.h"

class ReportTableModel;

// The report list of every window: a CReportRowModel shown through a table model adapter.
// It implements IReportList so the stores can fill it; a fill resets the Qt model once.
class CSortListCtrl : public QTableView, public IReportList {
    Q_OBJECT
public:
    explicit CSortListCtrl(QWidget* parent = nullptr);
    ~CSortListCtrl() override;

    CReportRowModel& Rows() { return m_rows; }
    const CReportRowModel& Rows() const { return m_rows; }

    // Set-up.
    int SetHighlightMode(int mode);
    void AddColumnsFromSpec(const std::string& spec, int count);
    int AddColumn(const std::string& title, int width, ColumnAlign align = ColumnAlign::kLeft);
    int GetColumnCount() const;
    void SetStripes(bool on);
    void SetRowDetailsOnDblClk(bool on);
    void SetDblClkHandler(CReportRowModel::DblClkHandler handler);
    void SetHeaderVisible(bool visible);
    void SetEmptyText(const std::string& gbkText);

    // Rows.
    void InsertRow(const std::string& rowText);  // under the current separator
    int GetCurrentRow() const;
    std::string GetRowText(char separator) const;
    void AutoSizeColumns(int column = -1);

    // IReportList.
    void DeleteAllRows() override;
    void InsertRow(const std::string& rowText, char separator) override;
    void SetFixedColumnWidths() override;
    bool SortRows(int column, bool ascending, int first, int last) override;
    int GetRowCount() const override;
    bool EnsureVisible(int row, bool partialOk) override;
    bool SetCellText(int row, int column, const std::string& text) override;
    bool DeleteRow(int row) override;

signals:
    // Sent after the current row was set from the press.
    void RowClicked();
    void RowRightClicked();
    void RowDoubleClicked();

private:
    CReportRowModel m_rows;
    ReportTableModel* m_model = nullptr;
};
