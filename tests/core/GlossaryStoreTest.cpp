#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "core/DamagedFile.h"
#include "core/Glossary.h"
#include "core/PairFile.h"
#include "tests/support/GlossaryTestSupport.h"
#include "tests/support/PairRecordText.h"
#include "tests/support/TempDir.h"
#include "util/ExeDir.h"
#include "util/GbkText.h"

namespace {

const char kBel = '\x07';

TEST(TermRecord, TextFormIsThreeFieldsEachFollowedByTheSeparator) {
    const CTermRecord uml("UML", GBK("统一建模语言"), "");
    const std::string text = uml.ToText(kBel);
    EXPECT_EQ(text.size(), 18u);
    EXPECT_EQ(text, "UML\x07" + GBK("统一建模语言") + "\x07\x07");
    EXPECT_EQ(CTermRecord().ToText(kBel), "\x07\x07\x07");
}

TEST(TermRecord, FromTextAssignsEveryField) {
    CTermRecord record("old", "old", "old");
    record.FromText("\x07\x07\x07", kBel);
    EXPECT_EQ(record, CTermRecord());
    record.FromText(
        "a\x07"
        "b",
        kBel);
    EXPECT_EQ(record, CTermRecord("a", "b", ""));
    record.FromText(
        "a\x07"
        "b\x07"
        "c\x07"
        "d\x07",
        kBel);
    EXPECT_EQ(record, CTermRecord("a", "b", "c"));
}

class GlossaryStoreTest : public ::testing::Test {
protected:
    std::string Path() const { return dir.file("Termix.CGlossary.termix"); }
    TempDir dir;
};

TEST_F(GlossaryStoreTest, MissingFileIsAnEmptyGlossaryAndSaveCreatesIt) {
    CGlossary glossary(Path());
    EXPECT_EQ(glossary.GetCount(), 0);
    glossary.Save();
    EXPECT_TRUE(TempDir::Exists(Path()));
}

TEST_F(GlossaryStoreTest, KeysAreExactAndCaseSensitive) {
    CGlossary glossary(Path());
    glossary.Add(CTermRecord("UML", "a", ""));
    EXPECT_TRUE(glossary.Exists("UML"));
    EXPECT_FALSE(glossary.Exists("uml"));
    EXPECT_FALSE(glossary.Exists("UML "));
    glossary.Add(CTermRecord("uml", "b", ""));
    EXPECT_EQ(glossary.GetCount(), 2);
}

TEST_F(GlossaryStoreTest, AddReplacesGetCopiesDeleteRemoves) {
    CGlossary glossary(Path());
    glossary.Add(CTermRecord("Actor", "1", "x"));
    glossary.Add(CTermRecord("Actor", "2", "y"));
    EXPECT_EQ(glossary.GetCount(), 1);
    CTermRecord out("keep", "keep", "keep");
    ASSERT_TRUE(glossary.Get("Actor", out));
    EXPECT_EQ(out, CTermRecord("Actor", "2", "y"));
    EXPECT_FALSE(glossary.Get("Nope", out));
    EXPECT_EQ(out.m_cs_term, "Actor");  // unchanged on a miss
    glossary.Delete("Nope");
    glossary.Delete("Actor");
    EXPECT_EQ(glossary.GetCount(), 0);
}

TEST_F(GlossaryStoreTest, SaveAndLoadRoundTrip) {
    {
        CGlossary glossary(Path());
        glossary.Add(CTermRecord("UML", GBK("统一建模语言"), GBK("第一行\r\n第二行")));
        glossary.Add(CTermRecord("use case", GBK("用例"), ""));
        glossary.Add(CTermRecord("", "", ""));
        glossary.Save();
    }
    CGlossary reloaded(Path());
    EXPECT_EQ(reloaded.GetCount(), 3);
    CTermRecord record;
    ASSERT_TRUE(reloaded.Get("UML", record));
    EXPECT_EQ(record.m_cs_explanation, GBK("第一行\r\n第二行"));
    EXPECT_TRUE(reloaded.Exists(""));
}

TEST_F(GlossaryStoreTest, StoredRecordLayout) {
    CGlossary glossary(Path());
    glossary.Add(CTermRecord("UML", GBK("统一建模语言"), ""));
    glossary.Save();
    EXPECT_EQ(TempDir::ReadBytes(Path()),
              "0003#UML = 0018#UML\x07" + GBK("统一建模语言") + "\x07\x07\r\n");
}

TEST_F(GlossaryStoreTest, LoadingNeverChangesTheFile) {
    TempDir::WriteBytes(Path(), "0001#a = 0004#a\x07m\x07\r\njunk");
    const std::string before = TempDir::ReadBytes(Path());
    CGlossary glossary(Path());
    EXPECT_EQ(glossary.GetCount(), 1);
    EXPECT_EQ(TempDir::ReadBytes(Path()), before);
}

TEST_F(GlossaryStoreTest, RecordsGoUnderTheTermOfTheirOwnText) {
    // The file's key differs from the value's term; a value without 0x07 is all term.
    TempDir::WriteBytes(Path(), "0003#key = 0006#real\x07m\r\n0001#z = 0004#bare\r\n");
    CGlossary glossary(Path());
    EXPECT_TRUE(glossary.Exists("real"));
    EXPECT_FALSE(glossary.Exists("key"));
    CTermRecord bare;
    ASSERT_TRUE(glossary.Get("bare", bare));
    EXPECT_EQ(bare.m_cs_meaning, "");
    glossary.Save();
    CGlossary reloaded(Path());
    EXPECT_TRUE(reloaded.Exists("real"));
}

TEST_F(GlossaryStoreTest, ARepeatedFileKeyKeepsOnlyTheLaterRecord) {
    // As in the pair file, the later record under one key replaces the earlier one, even when
    // the two records carry different terms.
    TempDir::WriteBytes(Path(), "0001#k = 0004#a\x07m\x07\r\n0001#k = 0004#b\x07m\x07\r\n");
    CGlossary glossary(Path());
    EXPECT_EQ(glossary.GetCount(), 1);
    EXPECT_TRUE(glossary.Exists("b"));
    EXPECT_FALSE(glossary.Exists("a"));
}

// The load indexes records a few records after parsing them: a repeated term must still end
// with its last record, however near or far apart the two stand, and the keyword search must
// find the records kept.
TEST_F(GlossaryStoreTest, ARepeatedTermKeepsItsLastRecordAtAnyDistance) {
    std::string file;
    for (int i = 0; i < 40; ++i) {
        const std::string term = "Term" + std::to_string(i);
        file += PairRecord(term, term + "\x07" + "first\x07\x07");
    }
    for (const int i : {39, 38, 30, 0}) {  // one, two, ten and forty records later
        const std::string term = "Term" + std::to_string(i);
        file += PairRecord(term, term + "\x07last\x07\x07");
    }
    TempDir::WriteBytes(Path(), file);
    CGlossary glossary(Path());
    EXPECT_EQ(glossary.GetCount(), 40);
    for (int i = 0; i < 40; ++i) {
        CTermRecord record;
        ASSERT_TRUE(glossary.Get("Term" + std::to_string(i), record)) << i;
        const bool repeated = i == 39 || i == 38 || i == 30 || i == 0;
        EXPECT_EQ(record.m_cs_meaning, repeated ? "last" : "first") << i;
    }
    CReportRowModel list = MakeTermList();
    EXPECT_EQ(glossary.ListByKeyword(list, "term3"), 11);  // Term3, Term30..Term39
    EXPECT_EQ(glossary.ListByKeyword(list, "TERM0"), 1);
}

// A file whose terms stand in increasing order (every saved file) is indexed only when first
// looked up or changed; a term out of order switches the load to indexing, so that a repeated
// term still ends with its last record wherever the order breaks.
TEST_F(GlossaryStoreTest, ASortedFileIsIndexedWhenFirstNeeded) {
    std::string sorted;
    for (char c = 'a'; c <= 'z'; ++c) {
        const std::string term(3, c);
        sorted += PairRecord(term, term + "\x07m" + term + "\x07\x07");
    }
    TempDir::WriteBytes(Path(), sorted + "0004#cut");  // damaged: the parsed part is kept
    {
        CGlossary glossary(Path());
        EXPECT_EQ(glossary.GetCount(), 26);
        CTermRecord record;
        ASSERT_TRUE(glossary.Get("mmm", record));
        EXPECT_EQ(record.m_cs_meaning, "mmmm");
        EXPECT_FALSE(glossary.Exists("mm"));
        EXPECT_EQ(glossary.Match(CTermRecord("zzz", "mzzz", "").View()),
                  CGlossary::Presence::kSame);
    }
    TakeDamagedFileReports();
    TempDir::WriteBytes(Path(), sorted);
    {
        CGlossary glossary(Path());
        glossary.Delete("aaa");  // a change before any lookup
        glossary.Add(CTermRecord("bbb", "again", ""));
        glossary.Add(CTermRecord("abc", "new", ""));
        EXPECT_EQ(glossary.GetCount(), 26);
        CTermRecord record;
        ASSERT_TRUE(glossary.Get("bbb", record));
        EXPECT_EQ(record.m_cs_meaning, "again");
        EXPECT_TRUE(glossary.Exists("zzz"));
        EXPECT_FALSE(glossary.Exists("aaa"));
    }
    for (const std::string& repeat : {std::string("aaa"), std::string("zzz")}) {
        // The first record itself repeated at once, and the last one after the whole run.
        TempDir::WriteBytes(Path(), PairRecord("aaa", "aaa\x07first\x07\x07") + sorted +
                                        PairRecord(repeat, repeat + "\x07last\x07\x07"));
        CGlossary glossary(Path());
        EXPECT_EQ(glossary.GetCount(), 26) << repeat;
        CTermRecord record;
        ASSERT_TRUE(glossary.Get(repeat, record));
        EXPECT_EQ(record.m_cs_meaning, "last") << repeat;
        ASSERT_TRUE(glossary.Get("ccc", record));
        EXPECT_EQ(record.m_cs_meaning, "mccc");
    }
}

// A bulk add keeps the text it is given: the records read, search, replace and save as added
// ones do.
TEST_F(GlossaryStoreTest, AddAllKeepsTheTextItIsGivenAndReplacesExistingTerms) {
    CGlossary glossary(Path());
    glossary.Add(CTermRecord("Actor", "old", "kept?"));
    auto text = std::make_unique<std::string>("Actor\x07" + GBK("参与者") + "\x07" +
                                              "\x07Use Case\x07" + GBK("用例") + "\x07" + "a box");
    const std::string_view all(*text);
    const std::vector<TermRecordView> records = {
        {all.substr(0, 5), all.substr(6, 6), all.substr(13, 0)},
        {all.substr(14, 8), all.substr(23, 4), all.substr(28, 5)}};
    glossary.AddAll(records, std::move(text));
    EXPECT_EQ(glossary.GetCount(), 2);
    CTermRecord record;
    ASSERT_TRUE(glossary.Get("Actor", record));
    EXPECT_EQ(record, CTermRecord("Actor", GBK("参与者"), ""));
    ASSERT_TRUE(glossary.Get("Use Case", record));
    EXPECT_EQ(record, CTermRecord("Use Case", GBK("用例"), "a box"));
    CReportRowModel list = MakeTermList();
    EXPECT_EQ(glossary.ListByKeyword(list, "CASE"), 1);
    glossary.Save();
    CGlossary reloaded(Path());
    ASSERT_TRUE(reloaded.Get("Use Case", record));
    EXPECT_EQ(record.m_cs_explanation, "a box");
}

TEST_F(GlossaryStoreTest, LookupsStayRightThroughManyAddsAndDeletes) {
    CGlossary glossary(Path());
    for (int i = 0; i < 3000; ++i) {
        glossary.Add(CTermRecord("t" + std::to_string(i), std::to_string(i), ""));
    }
    for (int i = 0; i < 3000; i += 3) {
        glossary.Delete("t" + std::to_string(i));
    }
    glossary.Add(CTermRecord("t1", "again", ""));
    EXPECT_EQ(glossary.GetCount(), 2000);
    for (int i = 0; i < 3000; ++i) {
        CTermRecord record;
        const bool present = glossary.Get("t" + std::to_string(i), record);
        ASSERT_EQ(present, i % 3 != 0) << i;
        if (present) {
            EXPECT_EQ(record.m_cs_meaning, i == 1 ? "again" : std::to_string(i));
        }
    }
    glossary.Save();
    EXPECT_EQ(CGlossary(Path()).GetCount(), 2000);
}

TEST_F(GlossaryStoreTest, MalformedFileLoadsThePrefixAndSaveKeepsOnlyThat) {
    TempDir::WriteBytes(Path(), "0001#a = 0004#a\x07m\x07\r\nBROKEN0001#b = 0004#b\x07m\x07\r\n");
    CGlossary glossary(Path());
    EXPECT_EQ(glossary.GetCount(), 1);
    CReportRowModel list = MakeTermList();
    EXPECT_EQ(glossary.ListByKeyword(list, "A"), 1);  // the kept record's term
    glossary.Save();
    EXPECT_EQ(CGlossary(Path()).GetCount(), 1);
}

TEST_F(GlossaryStoreTest, FailedSaveRaisesAndKeepsMemory) {
    TempDir::WriteBytes(dir.file("plain"), "x");
    CGlossary glossary(dir.file("plain/g.termix"));
    glossary.Add(CTermRecord("UML", "m", ""));
    EXPECT_THROW(glossary.Save(), Qm_conf_solitude_Exception);
    EXPECT_EQ(glossary.GetCount(), 1);
    // The lock was released on the way out.
    EXPECT_TRUE(g_csGlossary.try_lock());
    g_csGlossary.unlock();
}

TEST_F(GlossaryStoreTest, OversizeRecordRaisesInsteadOfWritingABadLength) {
    CGlossary glossary(Path());
    glossary.Add(CTermRecord("UML", "m", ""));
    glossary.Save();
    const std::string before = TempDir::ReadBytes(Path());
    glossary.Add(CTermRecord("huge", "m", std::string(10000, 'x')));
    EXPECT_THROW(glossary.Save(), Qm_conf_solitude_Exception);
    EXPECT_EQ(TempDir::ReadBytes(Path()), before);
}

// A save is written in pieces of about a megabyte: a glossary of several pieces is written whole,
// and a record that cannot be written, found after pieces went out, still leaves the old file.
TEST_F(GlossaryStoreTest, ASaveOfSeveralMegabytesIsWholeOrNothing) {
    std::vector<CTermRecord> records;
    for (int i = 0; i < 30000; ++i) {
        records.emplace_back("term " + std::to_string(100000 + i), GBK("释义"),
                             std::string(90, static_cast<char>('a' + i % 26)));
    }
    {
        CGlossary glossary(Path());
        for (const CTermRecord& record : records) {
            glossary.Add(record);
        }
        glossary.Save();
    }
    const std::string saved = TempDir::ReadBytes(Path());
    ASSERT_GT(saved.size(), size_t{3} << 20);
    CGlossary reloaded(Path());
    ASSERT_EQ(reloaded.GetCount(), 30000);
    for (const CTermRecord& record : {records.front(), records[12345], records.back()}) {
        CTermRecord read;
        ASSERT_TRUE(reloaded.Get(record.m_cs_term, read));
        EXPECT_EQ(read, record);
    }
    // Sorted last by term, after every piece but the last.
    reloaded.Add(CTermRecord("zzz", "m", std::string(10000, 'x')));
    EXPECT_THROW(reloaded.Save(), Qm_conf_solitude_Exception);
    EXPECT_EQ(TempDir::ReadBytes(Path()), saved);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(GlossaryAccessor, LoadsFromTheExecutableDirectoryAndRetriesAfterAFailure) {
    TempDir dir;
    SetExeDirForTesting(dir.path());
    ReleaseGlossary();
    // A directory where the glossary file should be makes the first load fail.
    std::filesystem::create_directory(dir.file("Termix.CGlossary.termix"));
    EXPECT_THROW(GetGlossary(), Qm_conf_solitude_Exception);
    std::filesystem::remove(dir.file("Termix.CGlossary.termix"));
    TempDir::WriteBytes(dir.file("Termix.CGlossary.termix"), "0001#a = 0004#a\x07m\x07\r\n");
    EXPECT_EQ(GetGlossary().GetCount(), 1);
    EXPECT_EQ(&GetGlossary(), &GetGlossary());
    ReleaseGlossary();
    SetExeDirForTesting("");
}

}  // namespace
