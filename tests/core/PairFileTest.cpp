#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "core/PairFile.h"
#include "tests/support/TempDir.h"
#include "util/GbkText.h"

namespace {

std::map<std::string, std::string> ReadAll(const std::string& path) {
    Qm_conf_solitude_File file(path, "#", "\r\n");
    std::map<std::string, std::string> pairs;
    std::string key;
    std::string value;
    file.Rewind();
    while (file.Next(key, value)) {
        pairs[key] = value;
    }
    file.Discard();
    return pairs;
}

std::map<std::string, std::string> ParseBytes(const std::string& bytes) {
    TempDir dir;
    TempDir::WriteBytes(dir.file("f"), bytes);
    return ReadAll(dir.file("f"));
}

const std::string kAbc = "0003#ABC = 0003#xyz\r\n";

TEST(PairFileFormat, WritesTheDocumentedRecordLayout) {
    TempDir dir;
    Qm_conf_solitude_File file(dir.file("f"), "#", "\r\n");
    file.Set("ABC", "xyz");
    file.Close();
    EXPECT_EQ(TempDir::ReadBytes(dir.file("f")), kAbc);
    EXPECT_EQ(kAbc.size(), 21u);

    Qm_conf_solitude_File empty(dir.file("g"), "#", "\r\n");
    empty.Set("", "");
    empty.Close();
    EXPECT_EQ(TempDir::ReadBytes(dir.file("g")), "0000# = 0000#\r\n");
}

// Length fields of four digits are read inline; every other field the way the C library's atoi
// reads it. Both must give atoi's number for any four bytes, and for a field cut off by the end
// of the text.
TEST(PairFileFormat, EveryLengthFieldReadsAsAtoiReadsIt) {
    const std::string bytes = "059 +-a#\t\n\v\r\xB0";
    std::string field(4, ' ');
    for (const char a : bytes) {
        for (const char b : bytes) {
            for (const char c : bytes) {
                for (const char d : bytes) {
                    field = {a, b, c, d};
                    for (size_t cut = 0; cut <= 4; ++cut) {
                        const std::string text = field.substr(0, cut);
                        ASSERT_EQ(Qm_conf_solitude::detail::ReadLengthField(text, 0),
                                  std::atoi(text.c_str()))
                            << field << " cut at " << cut;
                    }
                }
            }
        }
    }
    EXPECT_EQ(Qm_conf_solitude::detail::ReadLengthField("x0017#", 1), 17);
}

TEST(PairFileFormat, LengthsCountGbkBytes) {
    TempDir dir;
    Qm_conf_solitude_File file(dir.file("f"), "#", "\r\n");
    file.Set("UML", GBK("统一建模语言"));
    file.Close();
    EXPECT_EQ(TempDir::ReadBytes(dir.file("f")), "0003#UML = 0012#" + GBK("统一建模语言") + "\r\n");
}

TEST(PairFileRead, MissingOrEmptyFileGivesAnEmptyMap) {
    TempDir dir;
    EXPECT_TRUE(ReadAll(dir.file("missing")).empty());
    EXPECT_TRUE(ParseBytes("").empty());
}

TEST(PairFileRead, CloseOnAMissingFileCreatesAnEmptyFile) {
    TempDir dir;
    Qm_conf_solitude_File file(dir.file("new"), "#", "\r\n");
    file.Close();
    ASSERT_TRUE(TempDir::Exists(dir.file("new")));
    EXPECT_EQ(TempDir::ReadBytes(dir.file("new")), "");
}

TEST(PairFileRead, SpecialBytesInsideKeysAndValuesSurvive) {
    const std::string key = "a#b = c\r\nd";
    const std::string value = std::string("x\x07y#\r\n = z");
    TempDir dir;
    Qm_conf_solitude_File file(dir.file("f"), "#", "\r\n");
    file.Set(key, value);
    file.Set("", "");
    file.Close();
    const auto pairs = ReadAll(dir.file("f"));
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_EQ(pairs.at(key), value);
    EXPECT_EQ(pairs.at(""), "");
}

TEST(PairFileRead, LaterRecordWithTheSameKeyWins) {
    const auto pairs = ParseBytes("0001#k = 0001#a\r\n0001#k = 0001#b\r\n");
    ASSERT_EQ(pairs.size(), 1u);
    EXPECT_EQ(pairs.at("k"), "b");
}

// Malformed input: the records before the first bad one are kept, the rest is ignored.
struct MalformedCase {
    const char* name;
    std::string bytes;
    size_t keptRecords;
    long long stopOffset;
};

void PrintTo(const MalformedCase& c, std::ostream* os) {
    *os << c.name;
}

class PairFileMalformed : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(PairFileMalformed, KeepsRecordsBeforeTheFirstBadOne) {
    const MalformedCase& c = GetParam();
    TempDir dir;
    TempDir::WriteBytes(dir.file("f"), c.bytes);
    Qm_conf_solitude_File file(dir.file("f"), "#", "\r\n");
    EXPECT_EQ(file.Count(), c.keptRecords);
    EXPECT_EQ(file.ParsedRecords(), c.keptRecords);
    EXPECT_EQ(file.StopOffset(), c.stopOffset);
    if (c.keptRecords > 0) {
        EXPECT_EQ(file.Get("ABC"), "xyz");
    }
    file.Discard();
}

INSTANTIATE_TEST_SUITE_P(
    FailureTable, PairFileMalformed,
    ::testing::Values(MalformedCase{"wellFormed", kAbc, 1, -1},
                      MalformedCase{"bareLineFeed", "0003#ABC = 0003#xyz\n", 0, 0},
                      MalformedCase{"missingMarker", kAbc + "0003ABC = 0003#xyz\r\n", 1, 21},
                      MalformedCase{"missingSeparator", kAbc + "0003#ABC=0003#xyz\r\n", 1, 21},
                      MalformedCase{"shorterThanAnnounced", kAbc + "0009#ABC = 0003#xyz\r\n", 1,
                                    21},
                      MalformedCase{"valueCutShort", kAbc + "0003#ABC = 0010#xyz", 1, 21},
                      MalformedCase{"negativeKeyLength", kAbc + "-003#ABC = 0003#xyz\r\n", 1, 21},
                      MalformedCase{"negativeValueLength", kAbc + "0003#ABC = -003#xyz\r\n", 1, 21},
                      MalformedCase{"trailingJunk", kAbc + "junk", 1, 21},
                      MalformedCase{"nulByte", kAbc + std::string("\0", 1) + kAbc, 1, 21},
                      MalformedCase{"notANumber", "abcd#ABC = 0003#xyz\r\n", 0, 0}),
    [](const ::testing::TestParamInfo<MalformedCase>& p) { return p.param.name; });

TEST(PairFileRead, LengthFieldIsReadLikeAtoi) {
    // Two digits followed by two letters read as the two-digit number.
    EXPECT_EQ(ParseBytes("03ab#ABC = 03zz#xyz\r\n").at("ABC"), "xyz");
    EXPECT_EQ(ParseBytes("   3#ABC =    3#xyz\r\n").at("ABC"), "xyz");
    EXPECT_EQ(ParseBytes("+003#ABC = 0003#xyz\r\n").at("ABC"), "xyz");
    // No digits at all read as 0: an empty key.
    EXPECT_EQ(ParseBytes("abcd# = 0000#\r\n").at(""), "");
}

TEST(PairFileRead, BytesAfterTheLastRecordDisappearAtTheNextClose) {
    TempDir dir;
    TempDir::WriteBytes(dir.file("f"), kAbc + "junk");
    Qm_conf_solitude_File file(dir.file("f"), "#", "\r\n");
    file.Close();
    EXPECT_EQ(TempDir::ReadBytes(dir.file("f")), kAbc);
}

TEST(PairFileRead, ADirectoryIsAReadError) {
    TempDir dir;
    try {
        Qm_conf_solitude_File file(dir.path(), "#", "\r\n");
        FAIL() << "no exception";
    } catch (const Qm_conf_solitude_Exception& e) {
        EXPECT_EQ(e.m_message, GBK("读入配置文件(") + dir.path() + GBK(")出错!\n") +
                                   GBK("这不是一个普通文件(而是文件夹、管道或设备)。"));
        EXPECT_EQ(e.m_kind, Qm_conf_solitude_Exception::Kind::kRead);
        EXPECT_EQ(e.m_path, std::filesystem::path(dir.path()));
        EXPECT_EQ(e.m_reason, GBK("这不是一个普通文件(而是文件夹、管道或设备)。"));
    }
}

TEST(PairFileAccess, GetOfAnAbsentKeyCreatesAnEmptyEntryThatIsWritten) {
    TempDir dir;
    Qm_conf_solitude_File file(dir.file("f"), "#", "\r\n");
    EXPECT_EQ(file.Get("k"), "");
    EXPECT_EQ(file.Count(), 1u);
    file.Close();
    EXPECT_EQ(TempDir::ReadBytes(dir.file("f")), "0001#k = 0000#\r\n");
}

TEST(PairFileAccess, RoundTripKeepsTheSetOfPairs) {
    TempDir dir;
    std::map<std::string, std::string> expected;
    {
        Qm_conf_solitude_File file(dir.file("f"), "#", "\r\n");
        for (int i = 0; i < 200; ++i) {
            const std::string key = "key" + std::to_string(i);
            const std::string value = GBK("值") + std::string(static_cast<size_t>(i), 'v');
            file.Set(key, value);
            expected[key] = value;
        }
        file.Close();
    }
    EXPECT_EQ(ReadAll(dir.file("f")), expected);
    // Discard never writes.
    const std::string before = TempDir::ReadBytes(dir.file("f"));
    {
        Qm_conf_solitude_File file(dir.file("f"), "#", "\r\n");
        file.RemoveAll();
        file.Discard();
    }
    EXPECT_EQ(TempDir::ReadBytes(dir.file("f")), before);
}

TEST(PairFileAccess, EnumerationDeliversEveryEntryOnce) {
    TempDir dir;
    Qm_conf_solitude_File file(dir.file("f"), "#", "\r\n");
    file.Set("a", "1");
    file.Set("b", "2");
    std::map<std::string, std::string> seen;
    std::string k;
    std::string v;
    file.Rewind();
    while (file.Next(k, v)) {
        EXPECT_TRUE(seen.emplace(k, v).second);
    }
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_FALSE(file.Next(k, v));
    file.Discard();
}

// Writing: a failed write raises the write exception and leaves the old file as it was.
void ExpectWriteFailure(const std::string& path) {
    Qm_conf_solitude_File file(path, "#", "\r\n");
    file.Set("k", "v");
    try {
        file.Close();
        FAIL() << "no exception";
    } catch (const Qm_conf_solitude_Exception& e) {
        EXPECT_EQ(e.m_message.rfind(GBK("写入配置文件(") + path + GBK(")出错!\n"), 0), 0u)
            << gbk::ToUtf8(e.m_message);
        EXPECT_EQ(e.m_kind, Qm_conf_solitude_Exception::Kind::kWrite);
        EXPECT_EQ(e.m_path, std::filesystem::path(path));
        EXPECT_EQ(GBK("写入配置文件(") + path + GBK(")出错!\n") + e.m_reason, e.m_message);
    }
}

TEST(PairFileWrite, UnreachableDirectoryRaisesTheWriteException) {
    TempDir dir;
    TempDir::WriteBytes(dir.file("plainfile"), "x");
    ExpectWriteFailure(dir.file("plainfile/sub.termix"));
    ExpectWriteFailure(dir.file("missing-dir/f.termix"));
}

TEST(PairFileWrite, OversizeValuesAreNeverWritten) {
    TempDir dir;
    TempDir::WriteBytes(dir.file("f"), kAbc);
    {
        Qm_conf_solitude_File file(dir.file("f"), "#", "\r\n");
        file.Set("ok", std::string(9999, 'x'));
        file.Close();
    }
    EXPECT_EQ(ReadAll(dir.file("f")).at("ok").size(), 9999u);
    const std::string before = TempDir::ReadBytes(dir.file("f"));
    Qm_conf_solitude_File file(dir.file("f"), "#", "\r\n");
    file.Set(std::string(10000, 'k'), "v");
    EXPECT_THROW(file.Close(), Qm_conf_solitude_Exception);
    EXPECT_EQ(TempDir::ReadBytes(dir.file("f")), before);
}

TEST(PairFileWrite, LeavesNoTemporaryFilesBehind) {
    TempDir dir;
    for (int i = 0; i < 3; ++i) {
        Qm_conf_solitude_File file(dir.file("f"), "#", "\r\n");
        file.Set("k", std::to_string(i));
        file.Close();
    }
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        ++files;
    }
    EXPECT_EQ(files, 1);
}

}  // namespace
