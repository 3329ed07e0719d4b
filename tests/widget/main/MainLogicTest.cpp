#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/ConfGlobal.h"
#include "core/Glossary.h"
#include "core/History.h"
#include "core/PairFile.h"
#include "resources/LetterButtonIds.h"
#include "tests/support/TempDir.h"
#include "ui/main/ExitSequence.h"
#include "ui/main/MainTexts.h"
#include "util/ExeDir.h"
#include "util/GbkText.h"

namespace {

TEST(MainTextsTest, SummariesHaveTheirExactWording) {
    EXPECT_EQ(main_texts::KeywordSummary("use case", 3, true),
              GBK("搜索: use case\r\n结果: 3 个术语 (存在完全匹配的)"));
    EXPECT_EQ(main_texts::KeywordSummary("", 0, false),
              GBK("搜索: \r\n结果: 0 个术语 (不存在完全匹配的)"));
    EXPECT_EQ(main_texts::InitialSummary('M', 12),
              GBK("搜索首写字母为 M 或 m 的所有术语\r\n结果: 12 个术语"));
    EXPECT_EQ(main_texts::AllSummary(0), GBK("共有 0 个术语"));
    EXPECT_EQ(main_texts::NonLetterSummary(2),
              GBK("搜索不以26个英文字母开头的所有术语\r\n结果: 2 个术语"));
    EXPECT_EQ(main_texts::CountLine(517), GBK("-- 术语总数: 517 条 --"));
    EXPECT_EQ(main_texts::CopyText(GBK("用例"), "use case"), GBK("用例(use case)"));
}

TEST(MainTextsTest, KeywordSummaryKeepsLongAndChineseSearchTextsWhole) {
    const std::string longTerm(5000, 'x');
    EXPECT_NE(main_texts::KeywordSummary(longTerm, 0, false).find(longTerm), std::string::npos);
    EXPECT_EQ(main_texts::KeywordSummary(GBK("类"), 1, true),
              GBK("搜索: 类\r\n结果: 1 个术语 (存在完全匹配的)"));
}

TEST(MainTextsTest, LetterButtonsFollowTheirIdsWithMAndZOutOfOrder) {
    std::string letters;
    for (int id = letter_ids::kFirst; id <= letter_ids::kLast; ++id) {
        letters.push_back(letter_ids::LetterOfButton(id));
    }
    EXPECT_EQ(letters, "ABCDEFGHIJKLNOPQRSTUVWXYMZ");
    EXPECT_EQ(letter_ids::LetterOfButton(letter_ids::kFirst - 1), 0);
    EXPECT_EQ(letter_ids::LetterOfButton(letter_ids::kLast + 1), 0);
}

TEST(MainTextsTest, AboutTextIsCrLfLinesWithTheFixedEntries) {
    const std::string text = main_texts::AboutText();
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    for (const char* part :
         {"[名称]", "Vantrel英汉术语词典", "[用户]", "翻译/学习UML的人士", "[目的]",
          "(1) 让<<非程序员>>的译者们方便的使用Vantrel统一的术语。", "[作者]", "[邮件]", "[地点]",
          "[开发平台]", "[升级记录]", "请见随发布带的readme.txt文档", "[开发时间]",
          "以下每天的部分时间", "2003年10月05日 v1.2", "2003年10月01日 v0.1"}) {
        EXPECT_NE(text.find(gbk::FromUtf8(part)), std::string::npos) << part;
    }
    // No bare LF: every line break is CR LF.
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            EXPECT_EQ(text[i - 1], '\r');
        }
    }
    EXPECT_LT(text.find(gbk::FromUtf8("v1.2")), text.find(gbk::FromUtf8("v0.1")));
}

// The exit steps, recorded.
struct RecordingStores {
    std::vector<std::string> steps;
    std::vector<std::string> reported;
    bool historyOn = true;
    std::string failing;  // the step that raises

    ExitStores Make() {
        auto step = [this](const std::string& name) {
            return [this, name] {
                steps.push_back(name);
                if (name == failing) {
                    throw Qm_conf_solitude_Exception{
                        "failed " + name, Qm_conf_solitude_Exception::Kind::kWrite, name, {}};
                }
            };
        };
        return ExitStores{[this] { return historyOn; }, step("history"), step("glossary"),
                          step("settings")};
    }
    void Run() {
        RunSaveBeforeExit(Make(), [this](const std::string& m) { reported.push_back(m); });
    }
};

TEST(ExitSequenceTest, SavesHistoryOnlyWhenOnThenReleasesGlossaryThenSettings) {
    RecordingStores on;
    on.Run();
    EXPECT_EQ(on.steps, (std::vector<std::string>{"history", "glossary", "settings"}));
    EXPECT_TRUE(on.reported.empty());

    RecordingStores off;
    off.historyOn = false;
    off.Run();
    EXPECT_EQ(off.steps, (std::vector<std::string>{"glossary", "settings"}));
}

TEST(ExitSequenceTest, AFailingStoreIsReportedAndTheLaterStepsStillRun) {
    for (const char* failing : {"history", "glossary", "settings"}) {
        RecordingStores stores;
        stores.failing = failing;
        stores.Run();
        EXPECT_EQ(stores.steps, (std::vector<std::string>{"history", "glossary", "settings"}));
        EXPECT_EQ(stores.reported, std::vector<std::string>{std::string("failed ") + failing});
    }
}

TEST(ExitSequenceTest, OtherExceptionsAreNotSwallowed) {
    ExitStores stores{[] { return true; }, [] { throw std::runtime_error("bug"); }, [] {}, [] {}};
    EXPECT_THROW(RunSaveBeforeExit(stores, [](const std::string&) {}), std::runtime_error);
}

// The program's stores in a data directory of the suite's own (the history store keeps the path
// of the first data directory it sees, so every test of this binary uses the same one).
class ProgramExitTest : public ::testing::Test {
protected:
    static TempDir& Dir() {
        static TempDir dir;
        return dir;
    }
    void SetUp() override {
        SetExeDirForTesting(Dir().path());
        for (const char* suffix :
             {CGlossary::kFileSuffix, CHistroy::kFileSuffix, CConfGlobal::kFileSuffix}) {
            std::remove(File(suffix).c_str());
        }
        GetSearchHistory().RemoveAll();
    }
    void TearDown() override {
        ReleaseGlossary();
        ReleaseConfGlobal();
        GetSearchHistory().RemoveAll();
        SetExeDirForTesting("");
    }
    static std::string File(const char* suffix) {
        return Dir().file(std::string("Termix") + suffix);
    }
};

TEST_F(ProgramExitTest, WritesHistoryAndSettingsAndLeavesTheGlossaryFileAlone) {
    const std::string glossaryBytes = "0001#x = 0004#x\a\a\a\r\n";
    TempDir::WriteBytes(File(CGlossary::kFileSuffix), glossaryBytes);
    GetConfGlobal().SetSearchedHistorySaved(true);
    GetConfGlobal().SetHotkey(196692);
    GetGlossary().Add(CTermRecord("added", "m", ""));
    GetSearchHistory().Add("UML");

    std::vector<std::string> reported;
    RunSaveBeforeExit(ProgramExitStores(), [&](const std::string& m) { reported.push_back(m); });

    EXPECT_TRUE(reported.empty()) << (reported.empty() ? "" : gbk::ToUtf8(reported[0]));
    EXPECT_FALSE(HasConfGlobal());
    EXPECT_EQ(TempDir::ReadBytes(File(CHistroy::kFileSuffix)), "0003#UML = 0003#UML\r\n");
    EXPECT_NE(
        TempDir::ReadBytes(File(CConfGlobal::kFileSuffix)).find("0011#m_cs_hotkey = 0006#196692"),
        std::string::npos);
    EXPECT_EQ(TempDir::ReadBytes(File(CGlossary::kFileSuffix)), glossaryBytes);
}

TEST_F(ProgramExitTest, HistoryOffWritesNoHistory) {
    GetConfGlobal().SetSearchedHistorySaved(false);
    GetSearchHistory().Add("UML");
    RunSaveBeforeExit(ProgramExitStores(), [](const std::string&) {});
    EXPECT_FALSE(TempDir::Exists(File(CHistroy::kFileSuffix)));
    EXPECT_TRUE(TempDir::Exists(File(CConfGlobal::kFileSuffix)));
}

TEST_F(ProgramExitTest, AHistoryThatCannotBeWrittenIsReportedAndTheSettingsAreStillSaved) {
    GetConfGlobal().SetSearchedHistorySaved(true);
    GetSearchHistory().Add("UML");
    // A directory in the history file's place: the write cannot replace it.
    std::filesystem::create_directory(File(CHistroy::kFileSuffix));
    std::vector<std::string> reported;
    RunSaveBeforeExit(ProgramExitStores(), [&](const std::string& m) { reported.push_back(m); });
    std::filesystem::remove(File(CHistroy::kFileSuffix));

    ASSERT_EQ(reported.size(), 1u);
    EXPECT_FALSE(reported[0].empty());
    EXPECT_FALSE(HasConfGlobal());
    EXPECT_NE(TempDir::ReadBytes(File(CConfGlobal::kFileSuffix))
                  .find("0027#m_cs_searched_history_saved = 0003#Yes"),
              std::string::npos);
}

}  // namespace
