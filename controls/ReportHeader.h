#pragma once

#include <QHeaderView>

// The column header of the report list. Qt sizes every header section as if its title were bold,
// ready for a highlighted section; this header does not highlight sections (unless switched on),
// so it measures the titles in the font it draws them in. Its size is the same, and the window's
// start-up loads no bold face only to measure the header.
class CReportHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit CReportHeader(QWidget* parent = nullptr);

protected:
    QSize sectionSizeFromContents(int logicalIndex) const override;
};
