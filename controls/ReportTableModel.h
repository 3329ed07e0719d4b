#pragma once

#include <QAbstractTableModel>
#include <string>

#include "controls/ReportRowModel.h"

// Shows a CReportRowModel to the toolkit's views. Every change of the rows goes through here so
// the views hear of it: one row inserted, one removed, one cell changed, a sort (rows moved, with
// the persistent indexes following their rows), or a whole fill as one reset.
class ReportTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ReportTableModel(CReportRowModel& rows, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // A fill: DeleteAllRows starts one reset, which stays open while rows are appended and ends
    // at the next EndFill (a sort, a read, or the next event the view gets).
    void DeleteAllRows();
    void EndFill();
    bool InFill() const { return m_inFill; }

    void InsertRow(const std::string& rowText, char separator);
    void InsertRow(const std::string& rowText);
    bool DeleteRow(int row);
    bool SetCellText(int row, int column, const std::string& text);
    int AddColumn(const std::string& title, int width);
    bool SortRows(int column, bool ascending, int first, int last);
    bool SortByHeaderClick(int column);

private:
    template <typename SortStep>
    bool SortWithLayoutChange(SortStep sort);
    void BeginInsertOne();

    CReportRowModel& m_rows;
    bool m_inFill = false;
};
