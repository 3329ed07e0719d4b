#include "controls/ReportRowDelegate.h"

#include <QPainter>

#include "controls/QtText.h"
#include "controls/SortListCtrl.h"

ReportRowDelegate::ReportRowDelegate(CSortListCtrl* list)
    : QStyledItemDelegate(list), m_list(list) {}

void ReportRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    const int row = index.row();
    const int column = index.column();
    const CReportRowModel& rows = m_list->Rows();
    if (row < 0 || row >= rows.GetRowCount() || column >= rows.GetColumnCount()) {
        return;
    }
    painter->save();
    const QPalette& colors = m_list->palette();
    const bool highlighted = rows.State(row).selected;
    painter->fillRect(option.rect, m_list->RowFillColor(row));
    painter->setPen(highlighted ? colors.color(QPalette::Active, QPalette::HighlightedText)
                                : colors.color(QPalette::Active, QPalette::Text));
    painter->setFont(option.font);

    // Margin: twice the width of a space; the first column starts half a margin in.
    const int margin = 2 * option.fontMetrics.horizontalAdvance(QLatin1Char(' '));
    QRect textRect = option.rect;
    if (column == 0) {
        textRect.adjust(margin / 2, 0, -margin, 0);
    } else {
        textRect.adjust(margin, 0, -margin, 0);
    }
    const std::string_view cell = rows.CellText(row, column);
    if (!cell.empty() && textRect.width() > 0) {
        Qt::Alignment align = Qt::AlignVCenter;
        switch (rows.Column(column).align) {
            case ColumnAlign::kRight:
                align |= Qt::AlignRight;
                break;
            case ColumnAlign::kCenter:
                align |= Qt::AlignHCenter;
                break;
            case ColumnAlign::kLeft:
                align |= Qt::AlignLeft;
                break;
        }
        QString text = qtext::ToQt(cell);
        // One line: line breaks inside a cell are shown as spaces.
        text.replace(QLatin1Char('\r'), QLatin1Char(' '))
            .replace(QLatin1Char('\n'), QLatin1Char(' '));
        const QString shown = option.fontMetrics.elidedText(text, Qt::ElideRight, textRect.width());
        painter->drawText(textRect, static_cast<int>(align | Qt::TextSingleLine), shown);
    }
    painter->restore();
}

QSize ReportRowDelegate::sizeHint(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    const int margin = 2 * option.fontMetrics.horizontalAdvance(QLatin1Char(' '));
    const QString text = index.data(Qt::DisplayRole).toString();
    return QSize(option.fontMetrics.horizontalAdvance(text) + 2 * margin,
                 option.fontMetrics.height() + 4);
}
