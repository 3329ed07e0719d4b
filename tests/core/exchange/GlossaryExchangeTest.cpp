// Glossaries exchanged as tsv, csv and tbx: what goes out comes back byte for byte, and what
// the editing windows would refuse is refused with its place in the file.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/exchange/GlossaryExchange.h"
#include "util/GbkText.h"

namespace {

using glossary_exchange::Format;

// Records with everything the formats must escape: quotes, delimiters, tabs, line breaks,
// backslashes, markup characters, GBK two-byte letters, a term that is only spaces.
std::vector<CTermRecord> HostileRecords() {
    std::vector<CTermRecord> records = {
        CTermRecord("   ", GBK("空格"), ""),
        CTermRecord("\"quoted\", with; delimiters", GBK("引号"), "a\tb"),
        CTermRecord("<&>\"'", GBK("标记"), GBK("第一行\r\n第二行\r\n")),
        CTermRecord("back\\slash\\n", "x", "\\t\\\\"),
        CTermRecord(GBK("ＡＢＣ αβγ"), GBK("全角"), " leading and trailing "),
        CTermRecord("UML", GBK("统一建模语言"), ""),
    };
    std::sort(records.begin(), records.end(),
              [](const CTermRecord& a, const CTermRecord& b) { return a.m_cs_term < b.m_cs_term; });
    return records;
}

std::vector<CTermRecord> RecordsOf(const glossary_exchange::ReadResult& read) {
    std::vector<CTermRecord> records;
    for (const glossary_exchange::Entry& entry : read.entries) {
        records.emplace_back(entry.record);
    }
    return records;
}

class EveryFormat : public ::testing::TestWithParam<Format> {};

TEST_P(EveryFormat, WhatIsWrittenReadsBackTheSame) {
    const std::vector<CTermRecord> records = HostileRecords();
    std::string text;
    std::string error;
    ASSERT_TRUE(
        glossary_exchange::Write(GetParam(), glossary_exchange::ViewsOf(records), text, error))
        << error;
    const glossary_exchange::ReadResult read = glossary_exchange::Read(GetParam(), text);
    ASSERT_TRUE(read.errors.empty()) << read.errors.front();
    EXPECT_EQ(RecordsOf(read), records);
    std::string again;
    ASSERT_TRUE(glossary_exchange::Write(GetParam(), glossary_exchange::ViewsOf(RecordsOf(read)),
                                         again, error));
    EXPECT_EQ(again, text);
}

TEST_P(EveryFormat, RefusalsNameTheirPlace) {
    // UML twice, an empty meaning, and a character GBK cannot hold.
    const std::vector<CTermRecord> records = {
        CTermRecord("UML", "a", ""), CTermRecord("UML", "b", ""), CTermRecord("Empty", "", ""),
        CTermRecord("Emoji", "@@", "")};
    std::string text;
    std::string error;
    ASSERT_TRUE(
        glossary_exchange::Write(GetParam(), glossary_exchange::ViewsOf(records), text, error));
    text.replace(text.find("@@"), 2, "\xF0\x9F\x98\x80");
    const glossary_exchange::ReadResult read = glossary_exchange::Read(GetParam(), text);
    ASSERT_EQ(read.errors.size(), 3u);
    const std::string unit = GetParam() == Format::kTsv   ? "line "
                             : GetParam() == Format::kCsv ? "record "
                             : GetParam() == Format::kTbx ? "conceptEntry "
                                                          : "termEntry ";
    const int first = GetParam() == Format::kTsv ? 2 : 1;  // the tsv header is line 1
    EXPECT_EQ(read.errors[0].rfind(unit + std::to_string(first + 1) + ": the term \"UML\"", 0), 0u)
        << read.errors[0];
    EXPECT_EQ(read.errors[1].rfind(unit + std::to_string(first + 2) + ": ", 0), 0u);
    EXPECT_EQ(read.errors[2].rfind(unit + std::to_string(first + 3) + ": a field holds", 0), 0u);
}

// Over a megabyte, reading takes the learnt conversion table and writing hands the text over
// in pieces: both must give what the small case gives.
TEST_P(EveryFormat, ALargeGlossaryIsWrittenInPiecesAndReadBackTheSame) {
    std::vector<CTermRecord> records;
    for (int i = 0; i < 12000; ++i) {
        for (const CTermRecord& hostile : HostileRecords()) {
            records.emplace_back(hostile.m_cs_term + std::to_string(i), hostile.m_cs_meaning,
                                 hostile.m_cs_explanation);
        }
    }
    std::sort(records.begin(), records.end(),
              [](const CTermRecord& a, const CTermRecord& b) { return a.m_cs_term < b.m_cs_term; });
    const std::vector<TermRecordView> views = glossary_exchange::ViewsOf(records);
    std::string whole;
    std::string error;
    ASSERT_TRUE(glossary_exchange::Write(GetParam(), views, whole, error)) << error;
    ASSERT_GT(whole.size(), size_t{2} << 20);
    std::string joined;
    int pieces = 0;
    ASSERT_TRUE(glossary_exchange::Write(
        GetParam(), views,
        [&](std::string_view piece) {
            joined.append(piece);
            return ++pieces > 0;
        },
        error));
    EXPECT_GT(pieces, 1);
    EXPECT_EQ(joined, whole);
    // A failing output stops the export at once, and no record is blamed.
    pieces = 0;
    error.clear();
    EXPECT_FALSE(glossary_exchange::Write(
        GetParam(), views, [&pieces](std::string_view) { return ++pieces < 1; }, error));
    EXPECT_EQ(pieces, 1);
    EXPECT_TRUE(error.empty());

    const glossary_exchange::ReadResult read = glossary_exchange::Read(GetParam(), whole);
    ASSERT_TRUE(read.errors.empty()) << read.errors.front();
    EXPECT_TRUE(RecordsOf(read) == records);
}

// A file over a megabyte is converted through the learnt table: what the table does not know
// must still be refused with its line, and everything else read as the codec reads it.
TEST(GlossaryExchange, ALargeFileRefusesAndConvertsAsASmallOneDoes) {
    std::string text = "term\tmeaning\texplanation\n";
    const std::string explanation(60, 'x');
    for (int i = 0; i < 20000; ++i) {
        std::string meaning = "含义";
        if (i == 10000) {
            meaning = "\xF0\x9F\x98\x80";  // an emoji: GBK has no such character
        } else if (i == 15000) {
            meaning = "\xE5\x90";  // a cut-off sequence
        } else if (i == 17000) {
            meaning = "é€·";  // letters and signs GBK holds outside Chinese
        }
        text += "t" + std::to_string(i) + "\t" + meaning + "\t" + explanation + "\n";
    }
    ASSERT_GT(text.size(), size_t{1} << 20);
    const glossary_exchange::ReadResult read = glossary_exchange::Read(Format::kTsv, text);
    ASSERT_EQ(read.errors.size(), 2u);
    EXPECT_EQ(read.errors[0].rfind("line 10002: a field holds characters GBK cannot", 0), 0u);
    EXPECT_EQ(read.errors[1].rfind("line 15002: a field holds characters GBK cannot", 0), 0u);
    ASSERT_EQ(read.entries.size(), 19998u);
    const auto entry = std::find_if(read.entries.begin(), read.entries.end(),
                                    [](const auto& e) { return e.record.term == "t17000"; });
    ASSERT_NE(entry, read.entries.end());
    EXPECT_EQ(entry->record.meaning, gbk::FromUtf8("é€·"));
    EXPECT_EQ(read.entries.back().record, CTermRecord("t19999", GBK("含义"), explanation).View());
}

INSTANTIATE_TEST_SUITE_P(Formats, EveryFormat,
                         ::testing::Values(Format::kTsv, Format::kCsv, Format::kTbx,
                                           Format::kTbxV2),
                         [](const ::testing::TestParamInfo<Format>& p) {
                             return p.param == Format::kTsv   ? std::string("tsv")
                                    : p.param == Format::kCsv ? std::string("csv")
                                    : p.param == Format::kTbx ? std::string("tbx")
                                                              : std::string("tbxV2");
                         });

TEST(GlossaryExchange, WhatAFormatCannotCarryIsRefusedOnExport) {
    std::string text;
    std::string error;
    // tsv knows CR LF as its only line break; XML carries no control characters.
    EXPECT_FALSE(glossary_exchange::Write(
        Format::kTsv, glossary_exchange::ViewsOf({CTermRecord("a", "b", "x\ny")}), text, error));
    EXPECT_NE(error.find("\"a\""), std::string::npos);
    EXPECT_TRUE(glossary_exchange::Write(
        Format::kCsv, glossary_exchange::ViewsOf({CTermRecord("a", "b", "x\ny")}), text, error));
    EXPECT_FALSE(glossary_exchange::Write(
        Format::kTbx, glossary_exchange::ViewsOf({CTermRecord("a", "b", "\x01")}), text, error));
    // Bytes that are not GBK text would come back as something else.
    EXPECT_FALSE(glossary_exchange::Write(
        Format::kCsv, glossary_exchange::ViewsOf({CTermRecord("a\xFF", "b", "")}), text, error));
}

TEST(GlossaryExchange, ASpreadsheetsCsvIsRead) {
    // No byte-order mark, ";" as delimiter, LF line ends, an empty line.
    const glossary_exchange::ReadResult read = glossary_exchange::Read(
        Format::kCsv, "en;zh-CN;explanation\nUML;\xE7\xBB\x9F\xE4\xB8\x80;\"a;b\"\n\nActor;x;\n");
    ASSERT_TRUE(read.errors.empty()) << read.errors.front();
    ASSERT_EQ(read.entries.size(), 2u);
    EXPECT_EQ(CTermRecord(read.entries[0].record), CTermRecord("UML", GBK("统一"), "a;b"));
    EXPECT_EQ(CTermRecord(read.entries[1].record), CTermRecord("Actor", "x", ""));
}

TEST(GlossaryExchange, ATbxWithElementsTermixDoesNotKeepIsReadAndTheyAreCounted) {
    const std::string tbx =
        "<?xml version='1.0'?><!-- made elsewhere --><tbx type='TBX-Basic'><text><body>"
        "<conceptEntry id='1'><descrip type='subjectField'>software</descrip>"
        "<langSec xml:lang='en'><termSec><term>Actor</term>"
        "<termNote type='partOfSpeech'>noun</termNote></termSec></langSec>"
        "<langSec xml:lang='zh-CN'><termSec><term><![CDATA[参与者]]></term></termSec></langSec>"
        "</conceptEntry></body></text></tbx>";
    const glossary_exchange::ReadResult read = glossary_exchange::Read(Format::kTbx, tbx);
    ASSERT_TRUE(read.errors.empty()) << read.errors.front();
    ASSERT_EQ(read.entries.size(), 1u);
    EXPECT_EQ(CTermRecord(read.entries[0].record), CTermRecord("Actor", GBK("参与者"), ""));
    EXPECT_EQ(read.ignoredElements, 2u);
    EXPECT_FALSE(glossary_exchange::Read(Format::kTbx, "<tbx><text></tbx>").errors.empty());
}

}  // namespace
