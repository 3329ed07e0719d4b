#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "controls/MessageBox.h"
#include "controls/ReportTableModel.h"
#include "controls/SortListCtrl.h"
#include "tests/widget/controls/ImageProbe.h"
#include "util/GbkText.h"

namespace {

// A shown list of terms as the windows set it up, holding the given rows (term, meaning).
class ListTest : public ::testing::Test {
protected:
    void SetUp() override {
        list = std::make_unique<CSortListCtrl>();
        list->resize(400, 240);
        SetUpTermList(*list);
        list->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(list.get()));
        SetMessageBoxHookForTesting([this](const std::string& text) { messages.push_back(text); });
    }
    void TearDown() override { SetMessageBoxHookForTesting(nullptr); }

    void Fill(const std::vector<std::pair<std::string, std::string>>& rows) {
        list->DeleteAllRows();
        for (const auto& [term, meaning] : rows) {
            list->InsertRow(term + '\x08' + meaning, '\x08');
        }
        list->SetFixedColumnWidths();
    }
    std::vector<std::string> Column(int column) const {
        std::vector<std::string> cells;
        for (int r = 0; r < list->GetRowCount(); ++r) {
            cells.emplace_back(list->Rows().CellText(r, column));
        }
        return cells;
    }
    QPoint RowPoint(int row) const {
        return list->visualRect(list->model()->index(row, 0)).center();
    }
    // A real double-click: press, release, double-click press, release.
    void DoubleClick(int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, RowPoint(row));
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, RowPoint(row));
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, RowPoint(row));
    }
    void ClickHeader(int column, Qt::MouseButton button = Qt::LeftButton) {
        QHeaderView* header = list->horizontalHeader();
        const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), button, {}, at);
    }

    std::unique_ptr<CSortListCtrl> list;
    std::vector<std::string> messages;
};

TEST_F(ListTest, AdapterPassesTheModelChecksThroughEveryKindOfChange) {
    QAbstractItemModelTester tester(list->TableModel(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    Fill({{"b", "1"}, {"a", "2"}, {"c", "3"}});
    list->SortRows(0, true, 0, -1);
    list->InsertRow(std::string("d\x08") + "4", '\x08');
    list->SetCellText(1, 1, "x");
    list->SortRows(1, false, 0, -1);
    list->DeleteRow(0);
    list->AddColumn("extra", -1);
    list->DeleteAllRows();
    EXPECT_EQ(list->GetRowCount(), 0);
    EXPECT_EQ(list->model()->columnCount(), 3);
}

TEST_F(ListTest, AFillResetsTheViewOnceWhateverItsSize) {
    QSignalSpy resets(list->model(), &QAbstractItemModel::modelReset);
    QSignalSpy inserts(list->model(), &QAbstractItemModel::rowsInserted);
    list->DeleteAllRows();
    for (int i = 0; i < 100000; ++i) {
        list->InsertRow("term" + std::to_string(99999 - i) + "\x08m", '\x08');
    }
    list->SortRows(0, true, 0, -1);
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(inserts.count(), 0);
    EXPECT_EQ(list->model()->rowCount(), 100000);
    EXPECT_EQ(list->Rows().CellText(0, 0), "term0");

    // Outside a fill a single row is announced as one inserted row.
    list->InsertRow("zz\x08m", '\x08');
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(inserts.count(), 1);
}

TEST_F(ListTest, AFillWithoutSortEndsAtTheNextRead) {
    QSignalSpy resets(list->model(), &QAbstractItemModel::modelReset);
    list->DeleteAllRows();
    list->InsertRow("a\x08x", '\x08');
    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(list->GetRowCount(), 1);
    EXPECT_EQ(resets.count(), 1);
}

TEST_F(ListTest, ColumnWidthsFromTheSpecificationAndAfterAFill) {
    QHeaderView* header = list->horizontalHeader();
    ASSERT_EQ(list->GetColumnCount(), 2);
    EXPECT_EQ(header->sectionSize(0), 44);
    EXPECT_EQ(header->sectionSize(1), 44);
    EXPECT_EQ(list->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("术语"));
    EXPECT_EQ(list->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("汉意"));
    Fill({{"a", "1"}, {"b", "2"}});
    list->SortRows(0, true, 0, -1);
    EXPECT_EQ(header->sectionSize(0), 110);
    EXPECT_EQ(header->sectionSize(1), 110);
    // A second fill keeps them although the view was reset.
    Fill({{"c", "3"}});
    list->SortRows(0, true, 0, -1);
    EXPECT_EQ(header->sectionSize(0), 110);
}

TEST_F(ListTest, TheHeaderFitsItsTitlesInTheFontItDrawsThemIn) {
    QHeaderView* header = list->horizontalHeader();
    const QFontMetrics metrics = header->fontMetrics();
    EXPECT_GE(header->sizeHint().height(), metrics.height());
    EXPECT_GE(header->sectionSizeHint(0), metrics.horizontalAdvance(QStringLiteral("术语")));
    // As tall as a plain Qt header showing the same titles.
    QTableView plain;
    plain.setModel(list->model());
    plain.horizontalHeader()->setFont(header->font());
    EXPECT_EQ(header->sizeHint().height(), plain.horizontalHeader()->sizeHint().height());
}

TEST_F(ListTest, HeaderClicksSortByTheClickedColumnAndFlipTheDirection) {
    Fill({{"b", "5"}, {"B", "4"}, {"a", "3"}, {"10", "2"}, {"9", "1"}});
    ClickHeader(0);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"10", "9", "B", "a", "b"}));
    ClickHeader(0);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"b", "a", "B", "9", "10"}));
    ClickHeader(1);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
    ClickHeader(1);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"5", "4", "3", "2", "1"}));
    // Other buttons do nothing.
    ClickHeader(0, Qt::RightButton);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"5", "4", "3", "2", "1"}));
    ClickHeader(0);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"10", "9", "B", "a", "b"}));
}

TEST_F(ListTest, AFillSortLeavesTheRememberedHeaderDirection) {
    Fill({{"b", ""}, {"a", ""}});
    ClickHeader(0);
    ClickHeader(0);  // descending
    Fill({{"b", ""}, {"a", ""}});
    list->SortRows(0, true, 0, -1);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"a", "b"}));
    ClickHeader(0);  // flips the remembered descending to ascending
    EXPECT_EQ(Column(0), (std::vector<std::string>{"a", "b"}));
}

TEST_F(ListTest, PressesSetTheCurrentRowBeforeTheParentHearsOfThem) {
    Fill({{"a", "1"}, {"b", "2"}, {"c", "3"}});
    int seenOnClick = -2;
    int seenOnRightClick = -2;
    std::string textOnClick;
    QObject::connect(list.get(), &CSortListCtrl::RowClicked, [&] {
        seenOnClick = list->GetCurrentRow();
        textOnClick = list->GetRowText('\x08');
    });
    QObject::connect(list.get(), &CSortListCtrl::RowRightClicked,
                     [&] { seenOnRightClick = list->GetCurrentRow(); });

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, RowPoint(2));
    EXPECT_EQ(seenOnClick, 2);
    EXPECT_EQ(textOnClick, std::string("c\x08") + "3");
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, RowPoint(1));
    EXPECT_EQ(seenOnRightClick, 1);

    // Below the last row: no row.
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, QPoint(20, 200));
    EXPECT_EQ(seenOnRightClick, -1);
    EXPECT_EQ(list->GetRowText('\x08'), "");
}

TEST_F(ListTest, KeyboardMovesTheSelectionButNotTheCurrentRow) {
    Fill({{"a", "1"}, {"b", "2"}, {"c", "3"}});
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, RowPoint(0));
    QTest::keyClick(list.get(), Qt::Key_Down);
    EXPECT_EQ(list->Rows().SelectedRow(), 1);
    EXPECT_EQ(list->GetCurrentRow(), 0);
}

TEST_F(ListTest, RightDoubleClickSetsTheCurrentRowAndDeletingClearsIt) {
    Fill({{"a", "1"}, {"b", "2"}, {"c", "3"}});
    QTest::mouseDClick(list->viewport(), Qt::RightButton, {}, RowPoint(1));
    EXPECT_EQ(list->GetCurrentRow(), 1);
    list->DeleteRow(2);
    EXPECT_EQ(list->GetCurrentRow(), -1);
    EXPECT_EQ(list->GetRowCount(), 2);
}

TEST_F(ListTest, TheSelectionTravelsWithItsRowWhenSorted) {
    Fill({{"b", "1"}, {"a", "2"}, {"c", "3"}});
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, RowPoint(0));  // "b"
    ClickHeader(0);                                                        // a, b, c
    ClickHeader(0);                                                        // c, b, a
    ClickHeader(1);                                                        // by meaning: b, a, c
    const QModelIndexList selected = list->selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(list->Rows().CellText(selected.front().row(), 0), "b");
    EXPECT_EQ(list->Rows().CellText(list->Rows().SelectedRow(), 0), "b");
}

TEST_F(ListTest, DoubleClickShowsTheRowDetailsWhenSwitchedOn) {
    Fill({{"UML", gbk::FromUtf8("统一建模语言")}, {"actor", gbk::FromUtf8("参与者")}});
    int clicks = 0;
    int doubleClicks = 0;
    QObject::connect(list.get(), &CSortListCtrl::RowClicked, [&] { ++clicks; });
    QObject::connect(list.get(), &CSortListCtrl::RowDoubleClicked, [&] { ++doubleClicks; });

    DoubleClick(0);
    EXPECT_EQ(clicks, 1);  // the release ending the double-click is no second click
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_TRUE(messages.empty());

    list->SetRowDetailsOnDblClk(true);
    DoubleClick(1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], gbk::FromUtf8("第2行\n\n(1) 术语 : actor\n(2) 汉意 : 参与者\n"));

    // A handler takes precedence and gets the row joined with "|".
    std::string handled;
    list->SetDblClkHandler([&handled](const std::string& row) { handled = row; });
    DoubleClick(0);
    EXPECT_EQ(handled, "UML|" + gbk::FromUtf8("统一建模语言"));
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(ListTest, RowsAreStripedOrHighlightedToTheRightEdge) {
    Fill({{"a", "1"}, {"b", "2"}, {"c", "3"}});
    const int right = list->viewport()->width() - 3;  // far right of both 110-pixel columns
    ASSERT_LT(220, right);
    const QColor menu = QApplication::palette("QMenu").color(QPalette::Active, QPalette::Window);
    QImage image = probe::Grab(*list->viewport());
    EXPECT_EQ(probe::At(image, right, RowPoint(0).y()), QColor(225, 225, 225));
    EXPECT_EQ(probe::At(image, right, RowPoint(1).y()), menu);
    EXPECT_EQ(probe::At(image, right, RowPoint(2).y()), QColor(225, 225, 225));

    // The selected row keeps its highlight without the focus.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, RowPoint(1));
    list->clearFocus();
    image = probe::Grab(*list->viewport());
    const QColor highlight = list->palette().color(QPalette::Active, QPalette::Highlight);
    EXPECT_EQ(probe::At(image, right, RowPoint(1).y()), highlight);
    EXPECT_EQ(probe::At(image, 2, RowPoint(1).y()), highlight);

    list->SetStripes(false);
    image = probe::Grab(*list->viewport());
    EXPECT_EQ(probe::At(image, right, RowPoint(2).y()),
              list->palette().color(QPalette::Active, QPalette::Base));
}

int DarkPixels(const QImage& image, QRect area) {
    int count = 0;
    area &= image.rect();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (QColor(image.pixel(x, y)).lightness() < 100) {
                ++count;
            }
        }
    }
    return count;
}

TEST_F(ListTest, AnEmptyListShowsTheSiteTextTenPixelsBelowTheHeader) {
    EXPECT_NE(list->EmptyText().find("https://www.uml.org/"), std::string::npos);
    QImage image = probe::Grab(*list->viewport());
    const int width = image.width();
    EXPECT_EQ(DarkPixels(image, QRect(0, 0, width, 10)), 0);
    EXPECT_GT(DarkPixels(image, QRect(0, 10, width, 20)), 0);
    // Centred: ink on both halves of a line of text that is wider than half the list.
    EXPECT_GT(DarkPixels(image, QRect(0, 10, width / 2, 20)), 0);
    EXPECT_GT(DarkPixels(image, QRect(width / 2, 10, width / 2, 20)), 0);

    Fill({{"a", "1"}});
    list->SortRows(0, true, 0, -1);
    image = probe::Grab(*list->viewport());
    const int below = list->visualRect(list->model()->index(0, 0)).bottom() + 2;
    EXPECT_EQ(DarkPixels(image, QRect(0, below, width, image.height() - below)), 0);
}

TEST_F(ListTest, AutoSizeFitsTheWidestCellAndAHiddenHeaderTakesNoClicks) {
    CSortListCtrl info;
    info.resize(400, 200);
    info.SetHeaderVisible(false);
    info.AddColumnsFromSpec(gbk::FromUtf8("帮助"), 1);
    const std::string longest = "a much longer line of text than the rest";
    info.InsertRow("short");
    info.InsertRow(longest);
    info.AutoSizeColumns(-1);
    EXPECT_GE(info.horizontalHeader()->sectionSize(0),
              info.fontMetrics().horizontalAdvance(QString::fromStdString(longest)) + 20);
    EXPECT_FALSE(info.horizontalHeader()->isVisible());
    EXPECT_EQ(info.Rows().CellText(0, 0), "short");

    CSortListCtrl bare;
    bare.AddColumn("", 10);
    bare.AutoSizeColumns(0);
    EXPECT_EQ(bare.horizontalHeader()->sectionSize(0), 30);
}

}  // namespace
