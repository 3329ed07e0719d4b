#include <gtest/gtest.h>

#include "core/AutoSplit.h"
#include "util/GbkText.h"

namespace {

struct SplitCase {
    const char* name;
    const char* copied;  // UTF-8
    const char* term;
    const char* meaning;
    const char* explanation;
};

void PrintTo(const SplitCase& c, std::ostream* os) {
    *os << c.name;
}

class AutoSplitTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(AutoSplitTest, CutsTheCopiedEntryIntoThreeFields) {
    const SplitCase& c = GetParam();
    const SplitEntry entry = SplitCopiedEntry(gbk::FromUtf8(c.copied));
    EXPECT_EQ(gbk::ToUtf8(entry.term), c.term);
    EXPECT_EQ(gbk::ToUtf8(entry.meaning), c.meaning);
    EXPECT_EQ(gbk::ToUtf8(entry.explanation), c.explanation);
}

INSTANTIATE_TEST_SUITE_P(
    CopiedShapes, AutoSplitTest,
    ::testing::Values(
        SplitCase{"withParentheses", "Actor(参与者)\r\n \r\n解释1\r\n解释1.1", "Actor", "参与者",
                  "解释1\r\n解释1.1"},
        SplitCase{"spacesAreTrimmed", "Actor ( 参与者 )\r\n\r\n解释", "Actor", "参与者", "解释"},
        SplitCase{"withoutParentheses", "NT\r\n\r\nWindows NT", "NT", "Windows NT", ""},
        SplitCase{"oneLine", "Actor(参与者) 参与者是…", "Actor", "参与者",
                  "Actor(参与者) 参与者是…"},
        SplitCase{"oneLineBreakOnly", "Actor(参与者)\r\n解释", "Actor", "参与者",
                  "Actor(参与者)\r\n解释"},
        SplitCase{"noClosingParenthesis", "Actor(参与者", "Actor", "", "Actor(参与者"},
        SplitCase{"noClosingParenthesisManyLines", "Actor(参与者\na\nb\nc", "Actor", "", "b\nc"},
        SplitCase{"openingParenthesisFirst", "(参与者)Actor\r\n\r\nx", "(参与者)Actor", "x", ""},
        SplitCase{"singleWord", "Actor", "", "Actor", ""},
        SplitCase{"fullWidthParentheses", "Actor（参与者）", "", "Actor（参与者）", ""},
        SplitCase{"empty", "", "", "", ""}),
    [](const ::testing::TestParamInfo<SplitCase>& p) { return p.param.name; });

}  // namespace
