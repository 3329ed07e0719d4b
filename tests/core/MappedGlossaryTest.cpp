// A large glossary file is read from its mapping while the program starts and copied into the
// glossary's own memory a moment later. Until then and after, the glossary answers as one read
// the usual way; after the copy, another program cutting the file short or rewriting it in
// place changes nothing in memory (while still mapped, cutting it short would end the process).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/Glossary.h"
#include "tests/support/PairRecordText.h"
#include "tests/support/TempDir.h"

namespace {

// A saved glossary of 9 MB: large enough to be read from its mapping, and copied in two pieces.
std::string LargeSavedGlossary() {
    std::string bytes;
    char term[32];
    for (int i = 0; bytes.size() < 9000000; ++i) {
        std::snprintf(term, sizeof term, "term %06d", i);
        bytes += PairRecord(term, std::string(term) + "\x07" + GBK("含义") + "\x07" +
                                      std::string(150, 'e') + "\x07");
    }
    return bytes;
}

// Rewrites the file's first bytes in place and cuts it short: what another program may do.
void ChangeInPlace(const std::string& path) {
    {
        std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
        file << "0009#overwritten";
    }
    std::filesystem::resize_file(path, 4096);
}

class MappedGlossaryTest : public ::testing::Test {
protected:
    void SetUp() override { TempDir::WriteBytes(path, original); }

    // The glossary's whole content, as its save writes it.
    static std::string Saved(CGlossary& glossary, const std::string& to) {
        glossary.Save(to);
        return TempDir::ReadBytes(to);
    }

    TempDir dir;
    const std::string path = dir.file("Termix.CGlossary.termix");
    const std::string original = LargeSavedGlossary();
};

TEST_F(MappedGlossaryTest, AnswersAsReadBeforeAndAfterItsCopyAndKeepsItAfterTheFileChanges) {
    CGlossary glossary(path);
    const long count = glossary.GetCount();
    EXPECT_GT(count, 20000);
    CTermRecord record;
    ASSERT_TRUE(glossary.Get("term 012345", record));
    EXPECT_EQ(record.m_cs_meaning, GBK("含义"));
    EXPECT_EQ(Saved(glossary, dir.file("before.termix")), original);

    glossary.OwnText();
    ChangeInPlace(path);
    EXPECT_EQ(glossary.GetCount(), count);
    EXPECT_EQ(Saved(glossary, dir.file("after.termix")), original);
}

TEST_F(MappedGlossaryTest, ChangesMadeBeforeTheCopyAreKept) {
    CGlossary glossary(path);
    glossary.Add(CTermRecord("added", "a", ""));
    glossary.Add(CTermRecord("term 000007", GBK("新的"), ""));
    glossary.Delete("term 000008");
    glossary.OwnText();
    ChangeInPlace(path);
    CTermRecord record;
    ASSERT_TRUE(glossary.Get("added", record));
    ASSERT_TRUE(glossary.Get("term 000007", record));
    EXPECT_EQ(record.m_cs_meaning, GBK("新的"));
    EXPECT_FALSE(glossary.Exists("term 000008"));
    ASSERT_TRUE(glossary.Get("term 000009", record));
    EXPECT_EQ(record.m_cs_explanation, std::string(150, 'e'));
}

// Views outlive the lock they were taken under, so they must not view the mapping.
TEST_F(MappedGlossaryTest, SortedViewsOutliveTheMapping) {
    CGlossary glossary(path);
    const std::vector<TermRecordView> views = glossary.SortedViews();
    ChangeInPlace(path);
    ASSERT_FALSE(views.empty());
    EXPECT_EQ(views.back().explanation, std::string(150, 'e'));
}

#ifndef _WIN32
// Another program cuts the file short while it is still mapped: reading every record then must
// not end the process (SIGBUS); the pages gone read as zeros, and the next save finds the file
// changed and reads what is there.
TEST_F(MappedGlossaryTest, AFileCutShortWhileMappedIsReadWithoutEndingTheProcess) {
    CGlossary glossary(path);
    const long count = glossary.GetCount();
    std::filesystem::resize_file(path, 4096);
    size_t explained = 0;
    for (const TermRecordView& view : glossary.SortedViews()) {
        explained += view.explanation.size();
    }
    EXPECT_GT(explained, 0u);
    EXPECT_EQ(glossary.GetCount(), count);
    EXPECT_EQ(glossary.Save(), CGlossary::SaveResult::kReloaded);
    EXPECT_LT(glossary.GetCount(), 30);
    EXPECT_EQ(TempDir::ReadBytes(path).size(), 4096u);
}
#endif

TEST_F(MappedGlossaryTest, AReloadOrAnEndBeforeTheCopyLeavesNothingBehind) {
    {
        CGlossary glossary(path);
        glossary.Load(path);
        EXPECT_GT(glossary.GetCount(), 20000);
        glossary.RemoveAll();
        glossary.OwnText();
        EXPECT_EQ(glossary.GetCount(), 0);
    }
    CGlossary ended(path);  // destroyed with its copy still to come
}

}  // namespace
