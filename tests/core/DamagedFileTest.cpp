// Files whose reading stops early: the bytes that were not read survive every later save.
#include <gtest/gtest.h>
#include <malloc.h>

#include <filesystem>

#include "core/DamagedFile.h"
#include "core/Glossary.h"
#include "core/PairFile.h"
#include "tests/support/PairRecordText.h"
#include "tests/support/TempDir.h"
#include "util/GbkText.h"

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> Copies(const TempDir& dir) {
    std::vector<fs::path> copies;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        if (entry.path().filename().string().find(".damaged-") != std::string::npos) {
            copies.push_back(entry.path());
        }
    }
    return copies;
}

class DamagedFileTest : public ::testing::Test {
protected:
    void SetUp() override { TakeDamagedFileReports(); }  // forget other tests' files

    // Two good records, one with a wrong length field, and two good records after it.
    std::string DamagedGlossary() const {
        return GlossaryRecord("Actor") + GlossaryRecord("UML") + "0099#Class = 0010#x\r\n" +
               GlossaryRecord("Package") + GlossaryRecord("Node");
    }
    size_t DamageOffset() const { return (GlossaryRecord("Actor") + GlossaryRecord("UML")).size(); }

    TempDir dir;
};

TEST_F(DamagedFileTest, AGlossaryIsCopiedAsideOnceAndTheCopyOutlivesTheNextSave) {
    const std::string path = dir.file("Termix.CGlossary.termix");
    const std::string original = DamagedGlossary();
    TempDir::WriteBytes(path, original);
    CGlossary glossary{fs::path(path)};
    EXPECT_EQ(glossary.GetCount(), 2);

    const std::vector<DamagedFile> reports = TakeDamagedFileReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].path, path);
    EXPECT_EQ(reports[0].stopOffset, DamageOffset());
    EXPECT_EQ(reports[0].records, 2u);
    ASSERT_FALSE(reports[0].copy.empty());
    EXPECT_EQ(reports[0].copy.parent_path(), fs::path(path).parent_path());
    EXPECT_EQ(TempDir::ReadBytes(reports[0].copy), original);

    // Reading it again (the save reads first) makes no second copy and no second report.
    CGlossary again{fs::path(path)};
    glossary.Add(CTermRecord("Class", GBK("类"), ""));
    glossary.Save();
    EXPECT_TRUE(TakeDamagedFileReports().empty());
    ASSERT_EQ(Copies(dir).size(), 1u);
    EXPECT_EQ(TempDir::ReadBytes(Copies(dir)[0]), original);
    EXPECT_EQ(CGlossary{fs::path(path)}.GetCount(), 3);

    const std::string message = gbk::ToUtf8(DamagedFileMessage(reports[0]));
    EXPECT_NE(message.find(path), std::string::npos);
    EXPECT_NE(message.find("第 " + std::to_string(DamageOffset()) + " 字节"), std::string::npos);
    EXPECT_NE(message.find("之前的 2 条记录"), std::string::npos);
    EXPECT_NE(message.find(reports[0].copy.string()), std::string::npos);
}

TEST_F(DamagedFileTest, AnIntactFileMakesNoCopy) {
    const std::string path = dir.file("Termix.CGlossary.termix");
    TempDir::WriteBytes(path, GlossaryRecord("UML"));
    CGlossary glossary{fs::path(path)};
    glossary.Save();
    EXPECT_TRUE(Copies(dir).empty());
    EXPECT_TRUE(TakeDamagedFileReports().empty());
}

#ifdef __GLIBC__
// The loaded text is the records' storage: a few records before 32 MB of junk keep only what
// was parsed.
TEST_F(DamagedFileTest, MemoryAfterALoadFollowsWhatWasParsed) {
    const std::string path = dir.file("Termix.CGlossary.termix");
    TempDir::WriteBytes(path, GlossaryRecord("UML") + std::string(32 << 20, 'j'));
    const auto inUse = [] {
        const struct mallinfo2 info = mallinfo2();
        return info.uordblks + info.hblkhd;
    };
    const size_t before = inUse();
    CGlossary glossary{fs::path(path)};
    EXPECT_EQ(glossary.GetCount(), 1);
    EXPECT_LT(inUse() - before, size_t{1} << 20);
}
#endif

}  // namespace
