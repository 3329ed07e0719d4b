#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "util/GbkCodec.h"
#include "util/GbkText.h"
#include "util/Utf8ToGbkTable.h"

namespace {

TEST(GbkConversion, RoundTripsChineseThroughUtf8AndUtf16) {
    const std::string utf8 = "统一建模语言 UML";
    const std::string gbkText = gbk::FromUtf8(utf8);
    EXPECT_EQ(gbkText, "\xCD\xB3\xD2\xBB\xBD\xA8\xC4\xA3\xD3\xEF\xD1\xD4 UML");
    EXPECT_EQ(gbk::ToUtf8(gbkText), utf8);
    EXPECT_EQ(gbk::FromUtf16(gbk::ToUtf16(gbkText)), gbkText);
    EXPECT_EQ(gbk::ToUtf16(GBK("术")), u"术");
}

TEST(GbkConversion, UnrepresentableAndMalformedTextBecomesQuestionMarks) {
    EXPECT_EQ(gbk::FromUtf8("a\xF0\x9F\x98\x80"
                            "b"),
              "a?b");  // an emoji
    EXPECT_EQ(gbk::FromUtf8("a\xFF"
                            "b"),
              "a?b");                             // not UTF-8 at all
    EXPECT_EQ(gbk::FromUtf8("a\xE6\x9C"), "a?");  // cut-off sequence
    EXPECT_FALSE(gbk::IsRepresentable("\xF0\x9F\x98\x80"));
    EXPECT_TRUE(gbk::IsRepresentable("参与者（Actor）"));
    EXPECT_EQ(gbk::FromUtf16(u"x\xD800y"), "x?y");      // a lone surrogate
    EXPECT_EQ(gbk::FromUtf16(u"x\xDC00"), "x?");        // a lone trail surrogate at the end
    EXPECT_EQ(gbk::FromUtf16(u"a\U0001F600b"), "a?b");  // one "?" for a whole surrogate pair
    EXPECT_EQ(gbk::FromUtf16(u"\u0E01\u672F"), "?" + GBK("术"));
}

TEST(GbkConversion, InvalidGbkBecomesReplacementCharacter) {
    EXPECT_EQ(gbk::ToUtf8("a\xFF"), "a\xEF\xBF\xBD");
    EXPECT_EQ(gbk::ToUtf16("a\xFF"), u"a\uFFFD");
    EXPECT_EQ(gbk::ToUtf16("a\xCD"), u"a\uFFFD");  // a lead byte cut off at the end
    // A leading ASCII run is copied; what follows it converts as the whole text would.
    for (const std::string& text :
         std::vector<std::string>{"use case\xCD", "use case\xFF!", "UML " + GBK("统一建模"),
                                  std::string("ab\x80"), std::string("plain")}) {
        EXPECT_EQ(gbk::ToUtf8(text), gbk::codec::GbkToUtf8(text)) << text;
        std::string appended = "x";
        gbk::AppendToUtf8(text, appended);
        EXPECT_EQ(appended, "x" + gbk::codec::GbkToUtf8(text)) << text;
    }
    // Long texts pass the converter's buffer boundary intact.
    const std::string many = [] {
        std::string text;
        for (int i = 0; i < 5000; ++i) {
            text += GBK("术");
        }
        return text;
    }();
    EXPECT_EQ(gbk::FromUtf16(gbk::ToUtf16(many)), many);
}

// The iconv and the code-page backends must replace exactly the same input the same way.
TEST(GbkConversion, EveryBackendReplacesTheSameInput) {
    // No "best fit": characters GBK lacks are not swapped for look-alikes.
    bool lossless = true;
    EXPECT_EQ(gbk::codec::Utf8ToGbk("x\u00B2\u00AA", &lossless), "x??");
    EXPECT_FALSE(lossless);
    // Malformed UTF-8: overlong forms, encoded surrogates and values above U+10FFFF are one "?"
    // per sequence; a byte that cannot start one is one "?" itself.
    EXPECT_EQ(gbk::FromUtf8("a\xE0\x80\x80|\xED\xA0\x80|\xF4\x90\x80\x80|\xC0\x80|\xE6\x9CZ"),
              "a?|?|?|??|?Z");
    // The euro sign is the one single-byte character above ASCII.
    EXPECT_EQ(gbk::FromUtf8("\u20AC"), "\x80");
    EXPECT_EQ(gbk::ToUtf16("\x80"), u"\u20AC");
    // A lead byte with a byte that cannot follow it: one U+FFFD, the next byte reads on its own.
    EXPECT_EQ(gbk::ToUtf16("\x81\x7F" + GBK("术")), u"\uFFFD\x7F术");
    // The private-use range is no text in either direction.
    EXPECT_EQ(gbk::ToUtf16("\xAA\xA1\xA1\xA1\xA1"), u"\uFFFD\u3000\u3000");
    EXPECT_EQ(gbk::ToUtf16("\xFE\xFE" + GBK("术")), u"\uFFFD\uFFFD术");
    EXPECT_EQ(gbk::FromUtf16(u"\uE000\uF8F5z"), "??z");
    EXPECT_FALSE(gbk::IsRepresentable("\uE000"));
}

// The bulk conversion must say exactly what the codec says, for every character and for
// malformed input, whether it converts on its own or hands over to the codec.
TEST(GbkConversion, TheBulkTableConvertsEveryCharacterAsTheCodecDoes) {
    const gbk::Utf8ToGbkTable& table = gbk::Utf8ToGbkTable::Get();
    // GBK's 21,886 characters less its user-defined areas: the table does the work itself.
    EXPECT_GT(table.KnownCharacters(), 21000u);
    const auto expectSame = [&table](const std::string& utf8) {
        bool lossless = false;
        const std::string expected = gbk::codec::Utf8ToGbk(utf8, &lossless);
        std::string out = "kept";
        EXPECT_EQ(table.AppendExact(utf8, out), lossless) << utf8;
        EXPECT_EQ(out, "kept" + expected) << utf8;
    };
    std::string utf8;
    for (char32_t cp = 1; cp < 0x10000; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) {
            continue;
        }
        utf8.clear();
        if (cp < 0x80) {
            utf8.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            utf8.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            utf8.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            utf8.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            utf8.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            utf8.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
        expectSame("ab" + utf8 + "cdefghij" + utf8);
    }
    for (const char* text :
         {"a\xE0\x80\x80", "\xED\xA0\x80", "\xC0\x80", "\xE6\x9C", "\xE6\x9CZ", "\x80", "\xFF",
          "\xF0\x9F\x98\x80x", "\xF4\x90\x80\x80", "UML \xE7\xBB\x9F\xE4\xB8\x80 \xEE\x80\x80"}) {
        expectSame(text);
    }
}

TEST(GbkCaseFolding, FoldsAsciiAndDoubleByteLetters) {
    EXPECT_EQ(gbk::ToLower("UML Use Case"), "uml use case");
    EXPECT_EQ(gbk::ToUpper("uml"), "UML");
    EXPECT_EQ(gbk::ToLower(gbk::FromUtf8("ＵＭＬ")), gbk::FromUtf8("ｕｍｌ"));
    EXPECT_EQ(gbk::ToUpper(gbk::FromUtf8("ｕｍｌ")), gbk::FromUtf8("ＵＭＬ"));
    EXPECT_EQ(gbk::ToLower(gbk::FromUtf8("ΣΩ")), gbk::FromUtf8("σω"));
    EXPECT_EQ(gbk::ToLower(gbk::FromUtf8("ДЯ")), gbk::FromUtf8("дя"));
    // Chinese characters are never changed, even when a trail byte is an ASCII letter.
    const std::string chinese = gbk::FromUtf8("术语汉意，模型");
    EXPECT_EQ(gbk::ToLower(chinese), chinese);
    EXPECT_EQ(gbk::ToUpper(chinese), chinese);
    EXPECT_EQ(gbk::ToLower("\x81"
                           "A"),
              "\x81"
              "A");  // "A" as a trail byte
}

// Long ASCII texts are folded eight bytes at a time: every ASCII byte, at every place of a word,
// folds as it does alone, and a double-byte character after ASCII words keeps its trail byte.
TEST(GbkCaseFolding, EveryAsciiByteFoldsAtEveryPlace) {
    std::string text;
    std::string lower;
    std::string upper;
    for (int round = 0; round < 9; ++round) {  // nine rounds shift the bytes through every place
        for (int c = 1; c < 128; ++c) {
            text.push_back(static_cast<char>(c));
            lower.push_back(static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c));
            upper.push_back(static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c));
        }
    }
    EXPECT_EQ(gbk::ToLower(text), lower);
    EXPECT_EQ(gbk::ToUpper(text), upper);
    EXPECT_EQ(gbk::ToLower("ABCDEFGH\x81"
                           "ABCDEFGH"),
              "abcdefgh\x81"
              "Abcdefgh");
}

TEST(GbkFind, NeverMatchesFromATrailByte) {
    // 0x81 0x41 is one character whose trail byte is "A".
    EXPECT_EQ(gbk::Find("\x81"
                        "AB",
                        "A"),
              std::string::npos);
    EXPECT_EQ(gbk::Find("\x81"
                        "AAB",
                        "A"),
              2u);
    EXPECT_EQ(gbk::Find("x\x81"
                        "A",
                        "A"),
              std::string::npos);
    EXPECT_EQ(gbk::Find("use case", "case"), 4u);
    EXPECT_EQ(gbk::Find("abc", ""), 0u);
    EXPECT_EQ(gbk::Find("abc", "abcd"), std::string::npos);
    const std::string meaning = GBK("统一建模语言");
    EXPECT_EQ(gbk::Find(meaning, GBK("建模")), 4u);
}

TEST(GbkTruncate, KeepsDoubleByteCharactersWhole) {
    const std::string text = GBK("术语");  // 4 bytes
    EXPECT_EQ(gbk::TruncateBytes(text, 3), GBK("术"));
    EXPECT_EQ(gbk::TruncateBytes(text, 4), text);
    EXPECT_EQ(gbk::TruncateBytes("abc", 2), "ab");
}

}  // namespace
