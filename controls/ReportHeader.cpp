#include "controls/ReportHeader.h"

#include <QIcon>
#include <QPixmap>
#include <QStyleOptionHeaderV2>

CReportHeader::CReportHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setHighlightSections(false);
}

QSize CReportHeader::sectionSizeFromContents(int logicalIndex) const {
    if (model() == nullptr || logicalIndex < 0) {
        return {};
    }
    if (highlightSections()) {
        return QHeaderView::sectionSizeFromContents(logicalIndex);  // may be drawn bold after all
    }
    ensurePolished();
    // Measured as QHeaderView measures, in the header's own font instead of its bold variant.
    const QVariant hint = model()->headerData(logicalIndex, orientation(), Qt::SizeHintRole);
    if (hint.isValid()) {
        return qvariant_cast<QSize>(hint);
    }
    QStyleOptionHeaderV2 option;
    initStyleOption(&option);
    option.section = logicalIndex;
    option.fontMetrics = fontMetrics();
    option.text = model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString();
    const QVariant decoration =
        model()->headerData(logicalIndex, orientation(), Qt::DecorationRole);
    option.icon = qvariant_cast<QIcon>(decoration);
    if (option.icon.isNull()) {
        option.icon = qvariant_cast<QPixmap>(decoration);
    }
    if (isSortIndicatorShown()) {
        option.sortIndicator = QStyleOptionHeader::SortDown;
    }
    return style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), this);
}
