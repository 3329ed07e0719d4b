#include "controls/SortListCtrl.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "controls/MessageBox.h"
#include "controls/QtText.h"
#include "controls/ReportHeader.h"
#include "controls/ReportRowDelegate.h"
#include "controls/ReportTableModel.h"
#include "resources/StringTable.h"
#include "util/GbkText.h"

namespace {

constexpr int kEmptyTextGap = 10;  // pixels between the header and the empty-list text

}  // namespace

CSortListCtrl::CSortListCtrl(QWidget* parent) : QTableView(parent) {
    // The header first: the model is then joined to it once, not to the default one as well.
    QHeaderView* header = new CReportHeader(this);
    setHorizontalHeader(header);
    m_model = new ReportTableModel(m_rows, this);
    setModel(m_model);
    m_delegate = new ReportRowDelegate(m_rows, this);
    setItemDelegate(m_delegate);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setSortingEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setTabKeyNavigation(false);
    verticalHeader()->hide();

    header->setSectionsClickable(true);
    header->setSortIndicatorShown(false);
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setMinimumSectionSize(0);
    connect(header, &QHeaderView::sectionClicked, this, &CSortListCtrl::OnHeaderClicked);
    connect(header, &QHeaderView::sectionResized, this,
            [this](int column, int /*oldSize*/, int newSize) {
                m_rows.SetColumnWidth(column, newSize);
                viewport()->update();
            });

    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        ApplyColumnWidths();
        SyncViewFromState();
    });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        SyncStateFromView();
        viewport()->update();  // the fills reach past the last column
    });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { SyncStateFromView(); });

    m_emptyText = "Welcome to visit " + std::string(res::kGlossarySiteAddress);
    ApplyRowHeight();
}

CSortListCtrl::~CSortListCtrl() = default;

int CSortListCtrl::SetHighlightMode(int mode) {
    const int previous = m_rows.SetHighlightMode(mode);
    viewport()->update();
    return previous;
}

void CSortListCtrl::AddColumnsFromSpec(const std::string& columns, int count) {
    const int before = m_rows.GetColumnCount();
    CReportRowModel titles;
    titles.AddColumnsFromSpec(columns, count);
    for (int i = 0; i < titles.GetColumnCount(); ++i) {
        const ReportColumn& column = titles.Column(i);
        m_model->AddColumn(column.title, column.width);
    }
    if (m_rows.GetColumnCount() != before) {
        ApplyColumnWidths();
    }
}

int CSortListCtrl::AddColumn(const std::string& title, int width) {
    const int column = m_model->AddColumn(title, width);
    ApplyColumnWidths();
    return column;
}

int CSortListCtrl::GetColumnCount() const {
    return m_rows.GetColumnCount();
}

void CSortListCtrl::SetStripes(bool on) {
    m_rows.SetStripes(on);
    viewport()->update();
}

void CSortListCtrl::SetRowDetailsOnDblClk(bool on) {
    m_rows.SetRowDetailsOnDblClk(on);
}

void CSortListCtrl::SetDblClkHandler(CReportRowModel::DblClkHandler handler) {
    m_rows.SetDblClkHandler(std::move(handler));
}

void CSortListCtrl::SetHeaderVisible(bool visible) {
    horizontalHeader()->setVisible(visible);
}

void CSortListCtrl::EndFill() const {
    if (m_model != nullptr) {  // events arrive while the model is being made
        m_model->EndFill();
    }
}

void CSortListCtrl::DeleteAllRows() {
    m_model->DeleteAllRows();
}

void CSortListCtrl::InsertRow(const std::string& rowText, char separator) {
    m_model->InsertRow(rowText, separator);
}

void CSortListCtrl::InsertRow(const std::string& rowText) {
    m_model->InsertRow(rowText);
}

void CSortListCtrl::SetFixedColumnWidths() {
    EndFill();
    m_rows.SetFixedColumnWidths();
    ApplyColumnWidths();
}

bool CSortListCtrl::SortRows(int column, bool ascending, int first, int last) {
    return m_model->SortRows(column, ascending, first, last);
}

int CSortListCtrl::GetRowCount() const {
    EndFill();
    return m_rows.GetRowCount();
}

bool CSortListCtrl::EnsureVisible(int row, bool partialOk) {
    EndFill();
    if (!m_rows.EnsureVisible(row, partialOk)) {
        return false;
    }
    // The scroll range follows a row insertion only at the next layout; lay out now, or the
    // scroll stops at the old end and a new last row stays half hidden.
    updateGeometries();
    scrollTo(m_model->index(row, 0), QAbstractItemView::EnsureVisible);
    return true;
}

bool CSortListCtrl::SetCellText(int row, int column, const std::string& text) {
    return m_model->SetCellText(row, column, text);
}

bool CSortListCtrl::DeleteRow(int row) {
    return m_model->DeleteRow(row);
}

int CSortListCtrl::GetCurrentRow() const {
    EndFill();
    return m_rows.GetCurrentRow();
}

std::string CSortListCtrl::GetRowText(char separator) const {
    EndFill();
    return m_rows.GetRowText(separator);
}

int CSortListCtrl::TextMargin() const {
    return 2 * fontMetrics().horizontalAdvance(QLatin1Char(' '));
}

void CSortListCtrl::AutoSizeColumns(int column) {
    EndFill();
    const int first = column < 0 ? 0 : column;
    const int last = column < 0 ? m_rows.GetColumnCount() - 1 : column;
    const QFontMetrics cellMetrics = fontMetrics();
    const QFontMetrics headerMetrics = horizontalHeader()->fontMetrics();
    const int margin = TextMargin();
    for (int c = first; c <= last && c < m_rows.GetColumnCount(); ++c) {
        int cells = 0;
        for (int r = 0; r < m_rows.GetRowCount(); ++r) {
            const std::string_view text = m_rows.CellText(r, c);
            if (!text.empty()) {
                cells = std::max(cells, cellMetrics.horizontalAdvance(qtext::ToQt(text)));
            }
        }
        // Text widths with the margins the cells and the header draw around them.
        const int byCells = cells > 0 ? cells + 2 * margin : 0;
        const int title = headerMetrics.horizontalAdvance(qtext::ToQt(m_rows.Column(c).title));
        const int byTitle = title > 0 ? title + 2 * margin : 0;
        const int widest = std::max(byCells, byTitle);
        m_rows.SetColumnWidth(c, widest < 10 ? 30 : widest + 20);
    }
    ApplyColumnWidths();
}

void CSortListCtrl::ApplyColumnWidths() {
    QHeaderView* header = horizontalHeader();
    for (int c = 0; c < m_rows.GetColumnCount() && c < header->count(); ++c) {
        header->resizeSection(c, m_rows.Column(c).width);
    }
    viewport()->update();
}

void CSortListCtrl::ApplyRowHeight() {
    QHeaderView* rows = verticalHeader();
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(fontMetrics().height() + 4);
    rows->setSectionResizeMode(QHeaderView::Fixed);
}

void CSortListCtrl::SyncViewFromState() {
    m_syncing = true;
    QItemSelectionModel* selection = selectionModel();
    selection->clearSelection();
    int focused = -1;
    for (int r = 0; r < m_rows.GetRowCount(); ++r) {
        const RowState& state = m_rows.State(r);
        if (state.selected) {
            selection->select(m_model->index(r, 0),
                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
        if (state.focused && focused < 0) {
            focused = r;
        }
    }
    selection->setCurrentIndex(focused < 0 ? QModelIndex() : m_model->index(focused, 0),
                               QItemSelectionModel::NoUpdate);
    m_syncing = false;
    viewport()->update();
}

void CSortListCtrl::SyncStateFromView() {
    if (m_syncing || m_model->InFill()) {
        return;
    }
    const QItemSelectionModel* selection = selectionModel();
    const int current = selection->currentIndex().isValid() ? selection->currentIndex().row() : -1;
    for (int r = 0; r < m_rows.GetRowCount(); ++r) {
        RowState& state = m_rows.State(r);
        state.selected = false;
        state.focused = r == current;
    }
    for (const QModelIndex& index : selection->selectedRows()) {
        m_rows.State(index.row()).selected = true;
    }
}

void CSortListCtrl::OnHeaderClicked(int column) {
    EndFill();
    m_model->SortByHeaderClick(column);
    viewport()->update();
}

int CSortListCtrl::RowAt(const QPoint& pos) const {
    const QModelIndex index = indexAt(pos);
    return index.isValid() ? index.row() : -1;
}

bool CSortListCtrl::event(QEvent* event) {
    EndFill();
    if (event->type() == QEvent::FontChange) {
        ApplyRowHeight();
    }
    return QTableView::event(event);
}

bool CSortListCtrl::viewportEvent(QEvent* event) {
    EndFill();
    return QTableView::viewportEvent(event);
}

void CSortListCtrl::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    QPainter painter(viewport());
    const QRect area = viewport()->rect();
    if (m_rows.GetRowCount() == 0) {
        // The empty-list text, centred and wrapped, 10 pixels below the header.
        const QRect textArea = area.adjusted(0, kEmptyTextGap, 0, 0);
        painter.fillRect(textArea, palette().color(QPalette::Active, QPalette::Base));
        painter.setFont(QApplication::font());
        painter.setPen(palette().color(QPalette::Active, QPalette::Text));
        painter.drawText(textArea, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                         qtext::ToQt(m_emptyText));
        return;
    }
    if (m_rows.GetHighlightMode() != 2) {
        return;
    }
    // Full-row fills: each row's colour runs on from its last column to the right edge.
    const int lastColumn = m_rows.GetColumnCount() - 1;
    const int columnsEnd =
        lastColumn < 0 ? 0 : columnViewportPosition(lastColumn) + columnWidth(lastColumn);
    if (columnsEnd >= area.right()) {
        return;
    }
    int row = rowAt(area.top());
    const int lastRow = m_rows.GetRowCount() - 1;
    for (; row >= 0 && row <= lastRow; ++row) {
        const int top = rowViewportPosition(row);
        if (top > area.bottom()) {
            break;
        }
        painter.fillRect(QRect(columnsEnd, top, area.right() - columnsEnd + 1, rowHeight(row)),
                         m_delegate->RowFillColor(row));
    }
}

void CSortListCtrl::mousePressEvent(QMouseEvent* event) {
    const Qt::MouseButton button = event->button();
    if (button == Qt::LeftButton || button == Qt::RightButton) {
        m_rows.SetCurrentRow(RowAt(event->position().toPoint()));
    }
    QTableView::mousePressEvent(event);
    m_pendingClick =
        (button == Qt::LeftButton || button == Qt::RightButton) ? button : Qt::NoButton;
}

void CSortListCtrl::mouseReleaseEvent(QMouseEvent* event) {
    QTableView::mouseReleaseEvent(event);
    const Qt::MouseButton pending = m_pendingClick;
    if (event->button() != pending) {
        return;
    }
    m_pendingClick = Qt::NoButton;
    if (pending == Qt::LeftButton) {
        emit RowClicked();
    } else if (pending == Qt::RightButton) {
        emit RowRightClicked();
    }
}

void CSortListCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    const Qt::MouseButton button = event->button();
    const QPoint pos = event->position().toPoint();
    if (button == Qt::LeftButton || button == Qt::RightButton) {
        m_rows.SetCurrentRow(RowAt(pos));
    }
    QTableView::mouseDoubleClickEvent(event);
    // The release that ends a double-click is no click of its own.
    m_pendingClick = Qt::NoButton;
    if (button != Qt::LeftButton) {
        return;
    }
    emit RowDoubleClicked();
    HandleDoubleClick(pos);
}

void CSortListCtrl::HandleDoubleClick(const QPoint& pos) {
    if (const auto& handler = m_rows.GetDblClkHandler()) {
        handler(m_rows.GetRowText('|'));
        return;
    }
    if (!m_rows.GetRowDetailsOnDblClk()) {
        return;
    }
    const int row = RowAt(pos);
    if (row < 0) {
        return;
    }
    m_rows.SetCurrentRow(row);
    if (m_rows.State(row).focused) {
        ShowMessageBox(m_rows.RowDetailsText(row), this);
    } else {
        m_rows.SelectOnly(row);
        SyncViewFromState();
    }
}

void SetUpTermList(CSortListCtrl& list) {
    list.SetHighlightMode(2);
    list.AddColumnsFromSpec(TermColumns(), TermColumnCount());
    list.SetStripes(true);
    list.SetRowDetailsOnDblClk(false);
    list.SetDblClkHandler(nullptr);
}
