#include <gtest/gtest.h>

#include "core/Glossary.h"
#include "tests/support/GlossaryTestSupport.h"
#include "tests/support/TempDir.h"

namespace {

using Terms = std::vector<std::string>;

class GlossaryQueryTest : public ::testing::Test {
protected:
    GlossaryQueryTest() : glossary(dir.file("g")) {
        for (const char* term : {"UML", "uml", "use case", "Actor", "activity", "4+1 view",
                                 "<<include>>", "Zebra", ""}) {
            glossary.Add(CTermRecord(term, std::string("m-") + term, "x"));
        }
        glossary.Add(CTermRecord(GBK("模型"), GBK("模型"), ""));
        glossary.Add(CTermRecord(GBK("ＵＭＬ"), "fw", ""));
    }
    TempDir dir;
    CGlossary glossary;
    CReportRowModel list = MakeTermList();
};

TEST_F(GlossaryQueryTest, ListAllSortsByTermInByteOrder) {
    EXPECT_EQ(glossary.ListAll(list), 11);
    EXPECT_EQ(Column(list, 0), (Terms{"", "4+1 view", "<<include>>", "Actor", "UML", "Zebra",
                                      "activity", "uml", "use case", GBK("ＵＭＬ"), GBK("模型")}));
    EXPECT_EQ(list.CellText(4, 1), "m-UML");
    EXPECT_EQ(list.Column(0).width, 110);
    EXPECT_EQ(list.Column(1).width, 110);
}

TEST_F(GlossaryQueryTest, FirstLetterMatchesEitherCase) {
    EXPECT_EQ(glossary.ListByFirstLetter(list, 'a'), 2);
    EXPECT_EQ(Column(list, 0), (Terms{"Actor", "activity"}));
    EXPECT_EQ(glossary.ListByFirstLetter(list, 'U'), 3);
    EXPECT_EQ(Column(list, 0), (Terms{"UML", "uml", "use case"}));
    EXPECT_EQ(glossary.ListByFirstLetter(list, 'Q'), 0);
    EXPECT_EQ(list.GetRowCount(), 0);
}

TEST_F(GlossaryQueryTest, NonLetterListsDigitsPunctuationChineseAndTheEmptyTerm) {
    EXPECT_EQ(glossary.ListNonLetter(list), 5);
    EXPECT_EQ(Column(list, 0), (Terms{"", "4+1 view", "<<include>>", GBK("ＵＭＬ"), GBK("模型")}));
}

TEST_F(GlossaryQueryTest, KeywordIgnoresCaseAndSearchesTermsOnly) {
    EXPECT_EQ(glossary.ListByKeyword(list, "ml"), 2);
    EXPECT_EQ(Column(list, 0), (Terms{"UML", "uml"}));
    EXPECT_EQ(glossary.ListByKeyword(list, "CASE"), 1);
    EXPECT_EQ(glossary.ListByKeyword(list, "m-"), 0);     // only in meanings
    EXPECT_EQ(glossary.ListByKeyword(list, "x"), 0);      // only in explanations
    EXPECT_EQ(glossary.ListByKeyword(list, " case"), 1);  // not trimmed
    EXPECT_EQ(glossary.ListByKeyword(list, GBK("ｕｍｌ")), 1);
    EXPECT_EQ(glossary.ListByKeyword(list, ""), 11);
}

TEST_F(GlossaryQueryTest, EmptyGlossaryGivesEmptyLists) {
    CGlossary empty(dir.file("none"));
    list.InsertRow("stale\x08row", '\x08');
    EXPECT_EQ(empty.ListAll(list), 0);
    EXPECT_EQ(list.GetRowCount(), 0);
    EXPECT_EQ(empty.ListNonLetter(list), 0);
    EXPECT_EQ(empty.ListByKeyword(list, ""), 0);
}

TEST_F(GlossaryQueryTest, FillsKeepTheRememberedHeaderSortState) {
    glossary.ListAll(list);
    list.SortByHeaderClick(0);
    list.SortByHeaderClick(0);  // descending
    glossary.ListByFirstLetter(list, 'U');
    EXPECT_EQ(Column(list, 0), (Terms{"UML", "uml", "use case"}));
    EXPECT_FALSE(list.GetSortAscending());
}

TEST_F(GlossaryQueryTest, AddAndShowAppendsWithoutSortingAndScrollsToTheEnd) {
    glossary.ListByFirstLetter(list, 'A');
    glossary.AddAndShow(CTermRecord("Aardvark", "a", ""), list);
    EXPECT_EQ(Column(list, 0), (Terms{"Actor", "activity", "Aardvark"}));
    EXPECT_EQ(list.LastEnsuredRow(), 2);
    EXPECT_TRUE(glossary.Exists("Aardvark"));
}

TEST_F(GlossaryQueryTest, UpdateAndDeleteChangeTheGlossaryAndOneRow) {
    glossary.ListByFirstLetter(list, 'U');
    EXPECT_TRUE(glossary.UpdateAndShow(CTermRecord("uml", "new", ""), list, 1));
    EXPECT_EQ(list.CellText(1, 1), "new");
    CTermRecord record;
    glossary.Get("uml", record);
    EXPECT_EQ(record.m_cs_meaning, "new");
    list.SetCurrentRow(0);
    EXPECT_TRUE(glossary.DeleteAndShow(CTermRecord("UML", "", ""), list, 0));
    EXPECT_FALSE(glossary.Exists("UML"));
    EXPECT_EQ(Column(list, 0), (Terms{"uml", "use case"}));
    EXPECT_EQ(list.GetCurrentRow(), -1);
}

}  // namespace
