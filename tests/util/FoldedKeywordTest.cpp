#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>

#include "util/FoldedKeyword.h"
#include "util/GbkText.h"

namespace {

bool FoldThenFind(const std::string& text, const std::string& keyword) {
    return gbk::Find(gbk::ToLower(text), gbk::ToLower(keyword)) != std::string::npos;
}

// Bytes that matter to folding and to character boundaries: ASCII letters of both cases, ASCII
// that is also a trail byte, lead bytes of letters with case forms and their trails, other lead
// bytes, and high bytes that start no character.
std::string RandomGbk(std::mt19937& random, size_t length) {
    static const unsigned char kBytes[] = {'a',  'A',  'b',  'B',  'z',  'Z',  '@',  '[',
                                           ' ',  '0',  0x81, 0xA3, 0xC1, 0xE1, 0xA6, 0xA1,
                                           0xC6, 0xA7, 0xD1, 0xB3, 0x80, 0xFF, 0xFE, 0x41};
    std::uniform_int_distribution<size_t> pick(0, sizeof kBytes - 1);
    std::string text;
    for (size_t i = 0; i < length; ++i) {
        text.push_back(static_cast<char>(kBytes[pick(random)]));
    }
    return text;
}

TEST(FoldedKeyword, AnswersAsFoldingTheTextAndSearchingIt) {
    std::mt19937 random(20261207);
    std::uniform_int_distribution<size_t> textLength(0, 40);
    std::uniform_int_distribution<size_t> keywordLength(0, 4);
    long found = 0;
    for (int round = 0; round < 200000; ++round) {
        const std::string text = RandomGbk(random, textLength(random));
        std::string keyword = RandomGbk(random, keywordLength(random));
        if (round % 2 == 0 && !text.empty()) {
            // A piece of the text itself, so that about half the cases can match.
            std::uniform_int_distribution<size_t> from(0, text.size() - 1);
            const size_t at = from(random);
            keyword = text.substr(at, keywordLength(random));
        }
        const bool expected = FoldThenFind(text, keyword);
        found += expected ? 1 : 0;
        // A buffer of exactly the text's size: the sanitizer build catches a read past its end.
        const std::unique_ptr<char[]> exact(new char[std::max<size_t>(text.size(), 1)]);
        std::copy(text.begin(), text.end(), exact.get());
        ASSERT_EQ(gbk::FoldedKeyword(keyword).FoundIn(std::string_view(exact.get(), text.size())),
                  expected)
            << "text " << testing::PrintToString(text) << " keyword "
            << testing::PrintToString(keyword);
    }
    EXPECT_GT(found, 20000);
}

TEST(FoldedKeyword, FindsTermsAsTheKeywordQueryDoes) {
    const gbk::FoldedKeyword useCase("Use CASE");
    EXPECT_TRUE(useCase.FoundIn("Business use case model"));
    EXPECT_TRUE(useCase.FoundIn("USE CASE"));
    EXPECT_FALSE(useCase.FoundIn("use-case"));
    EXPECT_FALSE(useCase.FoundIn("use cas"));
    // The trail byte of 0x81 0x41 is "A", not a character of its own.
    EXPECT_FALSE(
        gbk::FoldedKeyword("a").FoundIn("\x81"
                                        "AB"));
    EXPECT_TRUE(
        gbk::FoldedKeyword("ab").FoundIn("\x81"
                                         "AAB"));
    // Full-width letters fold as their ASCII counterparts do.
    EXPECT_TRUE(gbk::FoldedKeyword(GBK("ａｂ")).FoundIn(GBK("模型ＡＢ")));
    EXPECT_TRUE(gbk::FoldedKeyword(GBK("建模")).FoundIn(GBK("统一建模语言")));
    EXPECT_TRUE(gbk::FoldedKeyword("").FoundIn(""));
    // Past the first eight ASCII bytes and at the very end.
    EXPECT_TRUE(gbk::FoldedKeyword("xyz").FoundIn("abcdefghijklmnopqrstuvwXYZ"));
    EXPECT_FALSE(gbk::FoldedKeyword("xyz").FoundIn("abcdefghijklmnopqrstuvwXY"));
}

}  // namespace
