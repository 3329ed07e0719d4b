#pragma once

#include <QStyledItemDelegate>

class CSortListCtrl;

// Draws the cells of a report list: the row fill (highlight, stripes or window colour) and the
// text with the list's margins, one line, ending in an ellipsis when it does not fit.
class ReportRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit ReportRowDelegate(CSortListCtrl* list);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    CSortListCtrl* m_list;
};
