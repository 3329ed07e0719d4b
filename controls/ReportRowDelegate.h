#pragma once

#include <QColor>
#include <QStyledItemDelegate>

class CReportRowModel;

// Draws the cells of a report list: the row fill (highlight, stripes or window colour) and the
// text with the list's margins, one line, ending in an ellipsis when it does not fit.
class ReportRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    // Draws `rows` in `view`, with the view's colours.
    ReportRowDelegate(const CReportRowModel& rows, QWidget* view);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The fill of row `row` as it is drawn now: the highlight for a selected row (with or
    // without the focus), else RGB(225, 225, 225) and the menu colour in turn when the list is
    // striped, else the window colour.
    QColor RowFillColor(int row) const;

private:
    const CReportRowModel& m_rows;
    const QWidget* m_view;
};
