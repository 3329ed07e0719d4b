#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <utility>

#include "controls/ReportRowModel.h"
#include "tests/support/GlossaryTestSupport.h"
#include "util/FieldString.h"
#include "util/GbkText.h"

namespace {

using Texts = std::vector<std::string>;

CReportRowModel ListOf(const Texts& terms) {
    CReportRowModel list = MakeTermList();
    for (const std::string& term : terms) {
        list.InsertRow(term + "\x08m" + term, '\x08');
    }
    return list;
}

TEST(ReportRowColumns, SpecificationGivesTitlesAndWidths) {
    CReportRowModel list = MakeTermList();
    ASSERT_EQ(list.GetColumnCount(), 2);
    EXPECT_EQ(list.Column(0).title, GBK("术语"));
    EXPECT_EQ(list.Column(1).title, GBK("汉意"));
    EXPECT_EQ(list.Column(0).width, 44);
    EXPECT_EQ(list.Column(1).width, 44);
    list.SetFixedColumnWidths();
    EXPECT_EQ(list.Column(1).width, 110);

    CReportRowModel help;
    help.AddColumnsFromSpec(GBK("帮助"), 1);
    EXPECT_EQ(help.GetColumnCount(), 1);
    EXPECT_EQ(help.AddColumn("x", -1), 1);
    EXPECT_EQ(help.Column(1).width, 44);
}

TEST(ReportRowColumns, HighlightModeIgnoresValuesAboveTwo) {
    CReportRowModel list;
    EXPECT_EQ(list.SetHighlightMode(2), 1);
    EXPECT_EQ(list.SetHighlightMode(3), 2);
    EXPECT_EQ(list.GetHighlightMode(), 2);
}

TEST(ReportRowInsert, SplitsTheRowTextIntoTheColumns) {
    CReportRowModel list = MakeTermList();
    list.InsertRow("term\x08meaning", '\x08');
    list.InsertRow("only", '\x08');
    list.InsertRow(
        "a\x08"
        "b\x08"
        "c",
        '\x08');
    EXPECT_EQ(list.CellText(0, 1), "meaning");
    EXPECT_EQ(list.CellText(1, 0), "only");
    EXPECT_EQ(list.CellText(1, 1), "");
    EXPECT_EQ(list.CellText(2, 1), "b");
    EXPECT_EQ(CFieldString::CurrentSeparator(), '|');

    CReportRowModel help;
    help.AddColumnsFromSpec(GBK("帮助"), 1);
    help.InsertRow("x|y");  // current separator
    EXPECT_EQ(help.CellText(0, 0), "x");
}

TEST(ReportRowInsert, OversizeCellsAreCutAtACharacterBoundary) {
    CReportRowModel list = MakeTermList();
    std::string longMeaning;
    while (longMeaning.size() < 20000) {
        longMeaning += GBK("术");
    }
    list.InsertRow("t\x08" + longMeaning, '\x08');
    EXPECT_EQ(list.CellText(0, 1).size(), 10238u);  // 10,239 would split a character
}

TEST(ReportRowText, JoinsTheCurrentRowsCells) {
    CReportRowModel list = MakeTermList();
    list.InsertRow("term\x08", '\x08');
    EXPECT_EQ(list.GetRowText('\x08'), "");
    list.SetCurrentRow(0);
    EXPECT_EQ(list.GetRowText('\x08'), "term\x08");
    list.SetCellText(0, 1, "m");
    EXPECT_EQ(list.GetRowText('|'), "term|m");
}

TEST(ReportRowSort, ByteOrderAscendingAndDescending) {
    CReportRowModel list = ListOf({"b", "B", "a", "10", "9"});
    EXPECT_TRUE(list.SortRows(0, true, 0, -1));
    EXPECT_EQ(Column(list, 0), (Texts{"10", "9", "B", "a", "b"}));
    EXPECT_EQ(Column(list, 1), (Texts{"m10", "m9", "mB", "ma", "mb"}));
    EXPECT_TRUE(list.SortRows(0, false, 0, -1));
    EXPECT_EQ(Column(list, 0), (Texts{"b", "a", "B", "9", "10"}));
    // A prefix sorts first; GBK bytes compare unsigned, after ASCII.
    CReportRowModel more = ListOf({GBK("术语"), "use case", "use", "Use"});
    more.SortRows(0, true, 0, -1);
    EXPECT_EQ(Column(more, 0), (Texts{"Use", "use", "use case", GBK("术语")}));
}

TEST(ReportRowSort, RangesAndRefusals) {
    CReportRowModel list = ListOf({"d", "c", "b", "a"});
    EXPECT_TRUE(list.SortRows(0, true, 1, 2));
    EXPECT_EQ(Column(list, 0), (Texts{"d", "b", "c", "a"}));
    EXPECT_FALSE(list.SortRows(5, true, 0, -1));
    EXPECT_FALSE(ListOf({}).SortRows(0, true, 0, -1));
    EXPECT_FALSE(ListOf({"x"}).SortRows(0, true, 0, -1));
}

TEST(ReportRowSort, LargeInputsWithDuplicatesComeOutOrdered) {
    Texts terms;
    for (int i = 0; i < 5000; ++i) {
        terms.push_back(std::to_string((i * 7919) % 613));
    }
    CReportRowModel list = ListOf(terms);
    list.SortRows(0, true, 0, -1);
    const Texts sorted = Column(list, 0);
    EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end()));
    Texts expected = terms;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(sorted, expected);
    for (int i = 0; i < list.GetRowCount(); ++i) {
        ASSERT_EQ(list.CellText(i, 1), "m" + std::string(list.CellText(i, 0))) << "row " << i;
    }
}

// Rows whose first cell repeats a few keys; each row's data is its insertion index.
CReportRowModel TiedRows(int count, int keys) {
    CReportRowModel list = MakeTermList();
    for (int i = 0; i < count; ++i) {
        list.InsertRow("k" + std::to_string((i * 7 + 3) % keys) + "\x08m" + std::to_string(i % 11),
                       '\x08');
        list.State(i).data = i;
    }
    return list;
}

std::vector<std::intptr_t> DataOrder(const CReportRowModel& list) {
    std::vector<std::intptr_t> order;
    for (int i = 0; i < list.GetRowCount(); ++i) {
        order.push_back(list.State(i).data);
    }
    return order;
}

// The documented partition, written out on plain (key, data) pairs: the pivot is the middle
// row's key, equal keys are not swapped, and both parts are sorted in turn.
using KeyedRows = std::vector<std::pair<std::string, std::intptr_t>>;

void ModelSort(KeyedRows& rows, bool ascending, int first, int last) {
    const std::string pivot = rows[(first + last) / 2].first;
    const auto less = [ascending](const std::string& a, const std::string& b) {
        return ascending ? a < b : a > b;
    };
    int i = first;
    int j = last;
    while (i <= j) {
        while (i < last && less(rows[i].first, pivot)) {
            ++i;
        }
        while (j > first && less(pivot, rows[j].first)) {
            --j;
        }
        if (i <= j) {
            if (rows[i].first != rows[j].first) {
                std::swap(rows[i], rows[j]);
            }
            ++i;
            --j;
        }
    }
    if (first < j) {
        ModelSort(rows, ascending, first, j);
    }
    if (i < last) {
        ModelSort(rows, ascending, i, last);
    }
}

// Sorts the list and the model of it alike and compares the orders they leave.
void ExpectSortedLikeTheModel(CReportRowModel& list, int column, bool ascending, int first,
                              int last) {
    KeyedRows model;
    for (int i = 0; i < list.GetRowCount(); ++i) {
        model.emplace_back(list.CellText(i, column), list.State(i).data);
    }
    ASSERT_TRUE(list.SortRows(column, ascending, first, last));
    ModelSort(model, ascending, first, last == -1 ? list.GetRowCount() - 1 : last);
    std::vector<std::intptr_t> expected;
    for (const auto& row : model) {
        expected.push_back(row.second);
    }
    EXPECT_EQ(DataOrder(list), expected)
        << "column " << column << (ascending ? " ascending " : " descending ") << first << ".."
        << last;
}

TEST(ReportRowSort, EqualKeysKeepTheOrderThePartitionGivesThem) {
    // The sort is not stable: rows with equal keys land in the order its partitioning gives them,
    // and a list must show them in that same order whatever the rows are stored in.
    CReportRowModel list = TiedRows(20, 3);
    ExpectSortedLikeTheModel(list, 0, true, 0, -1);
    EXPECT_EQ(list.CellText(0, 0), "k0");
    ExpectSortedLikeTheModel(list, 0, false, 0, -1);

    CReportRowModel many = TiedRows(5000, 37);
    ExpectSortedLikeTheModel(many, 0, true, 0, -1);
    ExpectSortedLikeTheModel(many, 0, false, 0, -1);
    ExpectSortedLikeTheModel(many, 1, true, 100, 4000);
}

TEST(ReportRowSort, RowStateMovesWithItsRow) {
    CReportRowModel list = ListOf({"c", "a", "b"});
    list.SelectOnly(0);  // "c"
    list.State(1).data = 42;
    list.SortRows(0, true, 0, -1);
    EXPECT_EQ(list.SelectedRow(), 2);
    EXPECT_TRUE(list.State(2).focused);
    EXPECT_EQ(list.State(0).data, 42);
}

TEST(ReportRowSort, HeaderClicksFlipTheDirectionOfTheSameColumn) {
    CReportRowModel list = ListOf({"b", "a", "c"});
    list.SetCellText(0, 1, "3");
    list.SetCellText(1, 1, "1");
    list.SetCellText(2, 1, "2");
    list.SortByHeaderClick(1);
    EXPECT_EQ(Column(list, 1), (Texts{"1", "2", "3"}));
    list.SortByHeaderClick(1);
    EXPECT_EQ(Column(list, 1), (Texts{"3", "2", "1"}));
    list.SortByHeaderClick(0);
    EXPECT_TRUE(list.GetSortAscending());
    EXPECT_EQ(Column(list, 0), (Texts{"a", "b", "c"}));
}

TEST(ReportRowDelete, DeleteResetsTheCurrentRow) {
    CReportRowModel list = ListOf({"a", "b", "c"});
    list.SetCurrentRow(2);
    EXPECT_TRUE(list.DeleteRow(0));
    EXPECT_EQ(list.GetCurrentRow(), -1);
    EXPECT_EQ(Column(list, 0), (Texts{"b", "c"}));
    EXPECT_FALSE(list.DeleteRow(7));
    EXPECT_FALSE(list.SetCellText(9, 0, "x"));
    EXPECT_FALSE(list.EnsureVisible(9, false));
}

TEST(ReportRowEdit, EditsAfterAFillLeaveEveryOtherCellIntact) {
    // Long meanings, so that the rows' text spans several blocks of the model's arena.
    CReportRowModel list = MakeTermList();
    std::map<std::string, std::string> expected;
    for (int i = 0; i < 400; ++i) {
        const std::string term = "t" + std::to_string(1000 + i);
        expected[term] =
            std::string(static_cast<size_t>(i * 37 % 9000 + 1), static_cast<char>('a' + i % 26));
        list.InsertRow(term + "\x08" + expected[term], '\x08');
    }
    EXPECT_TRUE(list.SetCellText(3, 1, "short"));
    expected["t1003"] = "short";
    EXPECT_TRUE(list.SetCellText(5, 0, std::string(20000, 'z')));  // cut to the cell limit
    expected[std::string(CReportRowModel::kMaxCellBytes, 'z')] = expected["t1005"];
    expected.erase("t1005");
    EXPECT_TRUE(list.DeleteRow(0));
    expected.erase("t1000");
    list.InsertRow("t0\x08new", '\x08');
    expected["t0"] = "new";
    list.SortByHeaderClick(0);
    list.SortByHeaderClick(0);  // descending

    std::vector<std::string> terms;
    for (int i = 0; i < list.GetRowCount(); ++i) {
        terms.emplace_back(list.CellText(i, 0));
        ASSERT_EQ(list.CellText(i, 1), expected.at(terms.back())) << "row " << i;
    }
    ASSERT_EQ(terms.size(), expected.size());
    EXPECT_TRUE(std::is_sorted(terms.rbegin(), terms.rend()));

    list.AddColumn("c", 10);
    EXPECT_EQ(list.CellText(7, 2), "");
    list.DeleteAllRows();
    EXPECT_EQ(list.GetRowCount(), 0);
    list.InsertRow("again\x08m\x08x", '\x08');
    EXPECT_EQ(Column(list, 2), (Texts{"x"}));
}

TEST(ReportRowDetails, MessageNamesTheRowAndEveryColumn) {
    CReportRowModel list = ListOf({"UML"});
    EXPECT_EQ(list.RowDetailsText(0),
              GBK("第1行") + "\n\n(1) " + GBK("术语") + " : UML\n(2) " + GBK("汉意") + " : mUML\n");
    EXPECT_EQ(list.RowDetailsText(3), "");
}

}  // namespace
