#include "controls/ReportRowDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QWidget>

#include "controls/QtText.h"
#include "controls/ReportRowModel.h"

ReportRowDelegate::ReportRowDelegate(const CReportRowModel& rows, QWidget* view)
    : QStyledItemDelegate(view), m_rows(rows), m_view(view) {}

QColor ReportRowDelegate::RowFillColor(int row) const {
    const QPalette& colors = m_view->palette();
    if (row >= 0 && row < m_rows.GetRowCount() && m_rows.State(row).selected) {
        return colors.color(QPalette::Active, QPalette::Highlight);
    }
    if (m_rows.GetStripes()) {
        return row % 2 == 0
                   ? QColor(225, 225, 225)
                   : QApplication::palette("QMenu").color(QPalette::Active, QPalette::Window);
    }
    return colors.color(QPalette::Active, QPalette::Base);
}

void ReportRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    const int row = index.row();
    const int column = index.column();
    if (row < 0 || row >= m_rows.GetRowCount() || column >= m_rows.GetColumnCount()) {
        return;
    }
    painter->save();
    const QPalette& colors = m_view->palette();
    const bool highlighted = m_rows.State(row).selected;
    painter->fillRect(option.rect, RowFillColor(row));
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
    const std::string_view cell = m_rows.CellText(row, column);
    if (!cell.empty() && textRect.width() > 0) {
        QString text = qtext::ToQt(cell);
        // One line: line breaks inside a cell are shown as spaces.
        text.replace(QLatin1Char('\r'), QLatin1Char(' '))
            .replace(QLatin1Char('\n'), QLatin1Char(' '));
        const QString shown = option.fontMetrics.elidedText(text, Qt::ElideRight, textRect.width());
        painter->drawText(textRect,
                          static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine),
                          shown);
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
