// Checks over the bundled glossary source and the files the build makes from it.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/Glossary.h"
#include "core/PairFile.h"
#include "core/exchange/GlossaryExchange.h"
#include "tests/support/TempDir.h"
#include "util/GbkText.h"

namespace {

class BundledGlossary : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        parsed = new glossary_exchange::ReadResult(glossary_exchange::Read(
            glossary_exchange::Format::kTsv, TempDir::ReadBytes(TERMIX_GLOSSARY_TSV)));
    }
    static void TearDownTestSuite() { delete parsed; }
    static glossary_exchange::ReadResult* parsed;
};
glossary_exchange::ReadResult* BundledGlossary::parsed = nullptr;

TEST_F(BundledGlossary, SourceIsCleanAndLossless) {
    // Parse reports lossy GBK conversion, 0x07/0x08, duplicates, empty meanings and records over
    // the file's length limit.
    for (const std::string& error : parsed->errors) {
        ADD_FAILURE() << error;
    }
    EXPECT_GE(parsed->entries.size(), 600u);
}

TEST_F(BundledGlossary, AlmostEveryEntryIsExplained) {
    size_t explained = 0;
    for (const auto& entry : parsed->entries) {
        explained += entry.record.explanation.empty() ? 0 : 1;
    }
    EXPECT_GE(explained * 100, parsed->entries.size() * 95);
}

TEST_F(BundledGlossary, HoldsTheTermsTheProgramsTextsUseAndNonLetterTerms) {
    std::set<std::string> terms;
    size_t nonLetter = 0;
    for (const auto& entry : parsed->entries) {
        terms.emplace(entry.record.term);
        const auto first = static_cast<unsigned char>(entry.record.term[0]);
        nonLetter += std::isalpha(first) ? 0 : 1;
    }
    for (const char* term : {"UML", "use case", "Actor", "NT"}) {
        EXPECT_EQ(terms.count(term), 1u) << term;
    }
    EXPECT_GE(nonLetter, 5u);
}

// The source read without the exchange reader the build imports it with: a header line, then
// one record per line, its three fields apart at tabs, "\n" standing for a line break (CR LF in
// the program's texts).
std::vector<std::array<std::string, 3>> PlainlyReadSource() {
    std::vector<std::array<std::string, 3>> records;
    std::istringstream lines(TempDir::ReadBytes(TERMIX_GLOSSARY_TSV));
    std::string line;
    std::getline(lines, line);
    while (std::getline(lines, line)) {
        std::array<std::string, 3> fields;
        std::istringstream cells(line);
        for (std::string& field : fields) {
            std::getline(cells, field, '\t');
            for (size_t at = field.find('\\'); at != std::string::npos; at = field.find('\\', at)) {
                EXPECT_EQ(field.substr(at, 2), "\\n") << "an escape this reading does not know";
                field.replace(at, 2, "\r\n");
            }
        }
        records.push_back(fields);
    }
    return records;
}

TEST_F(BundledGlossary, BuiltFileReadsBackToExactlyTheSource) {
    const auto source = PlainlyReadSource();
    CGlossary built(TERMIX_BUILT_GLOSSARY);
    ASSERT_EQ(static_cast<size_t>(built.GetCount()), source.size());
    for (const auto& [term, meaning, explanation] : source) {
        CTermRecord stored;
        ASSERT_TRUE(built.Get(gbk::FromUtf8(term), stored)) << term;
        EXPECT_EQ(gbk::ToUtf8(stored.m_cs_meaning), meaning) << term;
        EXPECT_EQ(gbk::ToUtf8(stored.m_cs_explanation), explanation) << term;
    }
    Qm_conf_solitude_File file(TERMIX_BUILT_GLOSSARY, "#", "\r\n");
    EXPECT_EQ(file.StopOffset(), -1) << "the built file does not parse to its end";
    file.Discard();
}

TEST(BundledReadme, IsTheDevelopmentLogInGbk) {
    const std::string gbkText = TempDir::ReadBytes(TERMIX_BUILT_README);
    ASSERT_FALSE(gbkText.empty());
    EXPECT_EQ(gbk::ToUtf8(gbkText), TempDir::ReadBytes(TERMIX_README_SOURCE));
}

}  // namespace

namespace {

// Every exchange format carries the whole bundled glossary: exported and imported into an empty
// glossary, it saves to the same bytes as the built file.
TEST(BundledGlossaryExchange, EveryFormatReproducesTheBuiltFile) {
    const std::string built = TempDir::ReadBytes(TERMIX_BUILT_GLOSSARY);
    const CGlossary glossary{std::filesystem::path(TERMIX_BUILT_GLOSSARY)};
    const std::vector<TermRecordView> records = glossary.SortedViews();
    for (const auto format : {glossary_exchange::Format::kTsv, glossary_exchange::Format::kCsv,
                              glossary_exchange::Format::kTbx}) {
        std::string text;
        std::string error;
        ASSERT_TRUE(glossary_exchange::Write(format, records, text, error)) << error;
        const glossary_exchange::ReadResult read = glossary_exchange::Read(format, text);
        ASSERT_TRUE(read.errors.empty()) << read.errors.front();
        TempDir dir;
        CGlossary copy{std::filesystem::path(dir.file("g"))};
        for (const glossary_exchange::Entry& entry : read.entries) {
            copy.Add(CTermRecord(entry.record));
        }
        copy.Save();
        EXPECT_EQ(TempDir::ReadBytes(dir.file("g")), built);
    }
}

}  // namespace
