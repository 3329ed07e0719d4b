#pragma once

#include <QTableView>
#include <functional>
#include <string>

#include "controls/ReportRowModel.h"
#include "core/ReportList.h"

class ReportRowDelegate;
class ReportTableModel;

// The report list of every window: a CReportRowModel shown through a table model adapter.
// It implements IReportList so the stores can fill it; a fill resets the Qt model once.
//
// The current row follows the mouse only: a left press, a right press and a right double-click
// set it before the view handles the press, so the RowClicked / RowRightClicked /
// RowDoubleClicked handlers already see it. A left click on a column header sorts by that
// column (the same column again flips the direction).
class CSortListCtrl : public QTableView, public IReportList {
    Q_OBJECT
public:
    explicit CSortListCtrl(QWidget* parent = nullptr);
    ~CSortListCtrl() override;

    CReportRowModel& Rows() { return m_rows; }
    const CReportRowModel& Rows() const { return m_rows; }
    // The adapter the view shows (for model checks in tests).
    ReportTableModel* TableModel() const { return m_model; }

    // Set-up.
    int SetHighlightMode(int mode);
    void AddColumnsFromSpec(const std::string& columns, int count);
    int AddColumn(const std::string& title, int width);
    int GetColumnCount() const;
    void SetStripes(bool on);
    void SetRowDetailsOnDblClk(bool on);
    void SetDblClkHandler(CReportRowModel::DblClkHandler handler);
    void SetHeaderVisible(bool visible);
    // The text shown centred below the header while the list holds no row.
    const std::string& EmptyText() const { return m_emptyText; }

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

protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void EndFill() const;
    void ApplyColumnWidths();
    void ApplyRowHeight();
    void SyncViewFromState();
    void SyncStateFromView();
    void OnHeaderClicked(int column);
    void HandleDoubleClick(const QPoint& pos);
    int RowAt(const QPoint& pos) const;
    int TextMargin() const;

    CReportRowModel m_rows;
    ReportTableModel* m_model = nullptr;
    ReportRowDelegate* m_delegate = nullptr;
    std::string m_emptyText;
    bool m_syncing = false;
    // The button whose press this view saw and whose release sends the click signal.
    Qt::MouseButton m_pendingClick = Qt::NoButton;
};

// Sets up a list of terms as the main and the data configuration windows show it: full-row
// highlight, the columns of a list of terms (TermColumns), stripes, and no action of its own on a
// double-click.
void SetUpTermList(CSortListCtrl& list);
