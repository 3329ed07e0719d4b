#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "core/Glossary.h"
#include "core/History.h"
#include "core/OperationLog.h"
#include "tests/support/GlossaryTestSupport.h"
#include "tests/support/TempDir.h"

namespace {

using Terms = std::vector<std::string>;

class HistoryTest : public ::testing::Test {
protected:
    HistoryTest() : glossary(dir.file("g")), history(dir.file("Termix.CHistroy.termix")) {
        glossary.Add(CTermRecord("UML", GBK("统一建模语言"), ""));
    }
    TempDir dir;
    CGlossary glossary;
    CHistroy history;
    CReportRowModel list = MakeTermList();
};

TEST_F(HistoryTest, TextsAreKeptExactlyAndOnce) {
    history.Add("UML");
    history.Add("UML");
    history.Add("uml");
    history.Add("");
    EXPECT_EQ(history.Count(), 3u);
}

TEST_F(HistoryTest, FillListShowsMeaningForExactTermsAndDotsOtherwise) {
    history.Add("UML");
    history.Add("ml");
    history.Add("");
    EXPECT_EQ(history.FillList(list, glossary), 3);
    EXPECT_EQ(Column(list, 0), (Terms{"", "UML", "ml"}));
    EXPECT_EQ(Column(list, 1), (Terms{"......", GBK("统一建模语言"), "......"}));
    EXPECT_EQ(list.Column(0).width, 110);
}

TEST_F(HistoryTest, SaveAndLoadRoundTripWithTheDocumentedLayout) {
    history.Add("UML");
    history.Save();
    EXPECT_EQ(TempDir::ReadBytes(history.Path()), "0003#UML = 0003#UML\r\n");
    history.Add("use case");
    history.Save();
    CHistroy reloaded(history.Path());
    reloaded.Add("stale");
    reloaded.Load();
    EXPECT_EQ(reloaded.Count(), 2u);
    EXPECT_TRUE(reloaded.Contains("use case"));
    EXPECT_FALSE(reloaded.Contains("stale"));
}

TEST_F(HistoryTest, SaveReplacesTheFileContentAndSkipsOversizeTexts) {
    TempDir::WriteBytes(history.Path(), "0003#old = 0003#old\r\n");
    history.Add("new");
    history.Add(std::string(10000, 'k'));
    history.Save();
    CHistroy reloaded(history.Path());
    reloaded.Load();
    EXPECT_EQ(reloaded.Count(), 1u);
    EXPECT_TRUE(reloaded.Contains("new"));
}

TEST_F(HistoryTest, MissingFileLoadsEmptyAndLoadNeverWrites) {
    history.Load();
    EXPECT_EQ(history.Count(), 0u);
    EXPECT_FALSE(TempDir::Exists(history.Path()));
}

TEST_F(HistoryTest, LockOrderHistoryThenGlossaryHoldsUnderTwoThreads) {
    // One thread fills the history list (history lock, then glossary lock per lookup) while
    // another searches the glossary and adds to the history (glossary lock released before
    // the history lock is taken). A reversed order anywhere would deadlock this test.
    for (int i = 0; i < 200; ++i) {
        history.Add("t" + std::to_string(i));
        glossary.Add(CTermRecord("t" + std::to_string(i), "m", ""));
    }
    std::atomic<bool> stop{false};
    std::thread searcher([&] {
        CReportRowModel other = MakeTermList();
        for (int i = 0; i < 300 && !stop; ++i) {
            if (glossary.ListByKeyword(other, "t1") > 0) {
                history.Add("t1");
            }
        }
    });
    for (int i = 0; i < 300; ++i) {
        EXPECT_EQ(history.FillList(list, glossary), 200);
    }
    stop = true;
    searcher.join();
}

TEST(OperationLog, KeepsOneVersionPerTermAndFillsASortedList) {
    COperationLog log;
    log.Add(CTermRecord("b", "1", ""));
    log.Add(CTermRecord("a", "2", ""));
    log.Add(CTermRecord("b", "3", "x"));
    EXPECT_EQ(log.Count(), 2u);
    EXPECT_TRUE(log.Exists("a"));
    EXPECT_FALSE(log.Exists("A"));
    CTermRecord record("keep", "", "");
    EXPECT_FALSE(log.Get("zzz", record));
    EXPECT_EQ(record.m_cs_term, "keep");
    ASSERT_TRUE(log.Get("b", record));
    EXPECT_EQ(record, CTermRecord("b", "3", "x"));
    CReportRowModel list = MakeTermList();
    EXPECT_EQ(log.FillList(list), 2);
    EXPECT_EQ(Column(list, 0), (Terms{"a", "b"}));
    EXPECT_EQ(Column(list, 1), (Terms{"2", "3"}));
}

}  // namespace
