// The one-pass show and search of termix-cli answer exactly as the loaded glossary does, over
// generated glossary files: clean, with repeated terms, cut short, holding a NUL byte, with a
// record stored under another key, with the list's row separator in a row.
#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <random>
#include <set>

#include "core/DamagedFile.h"
#include "core/Glossary.h"
#include "core/GlossaryScan.h"
#include "tests/support/GlossaryTestSupport.h"
#include "tests/support/PairRecordText.h"
#include "tests/support/TempDir.h"
#include "tests/termix-cli/CliRun.h"
#include "util/GbkText.h"

namespace {

// Terms from a small pool of pieces, so that terms repeat and keywords match in several cases:
// ASCII in both cases, full-width letters, Chinese, digits.
const char* const kPieces[] = {"a", "B", "ml", "UML", "ｍｌ", "ＵＭＬ", "用例", "4+1", " ", "x"};
const char* const kMeanings[] = {"模型", "m1", "", "统一建模语言"};

// kFalseStart is no damage: explanations that hold the text of a whole record, which a reader
// cutting the file into parts may take for the start of one.
enum class Damage { kNone, kCut, kNul, kForeignKey, kRowSeparator, kFalseStart };

struct Generated {
    std::string bytes;
    std::vector<std::string> terms;  // GBK
};

Generated Generate(unsigned seed, Damage damage) {
    std::mt19937 rng(seed);
    auto pick = [&rng](size_t n) { return static_cast<size_t>(rng() % n); };
    Generated g;
    const size_t count = 1 + pick(60);
    for (size_t i = 0; i < count; ++i) {
        std::string term;
        for (size_t k = 0, n = pick(4); k < n; ++k) {
            term += gbk::FromUtf8(kPieces[pick(std::size(kPieces))]);
        }
        std::string meaning = gbk::FromUtf8(kMeanings[pick(std::size(kMeanings))]);
        if (damage == Damage::kRowSeparator && i == count / 2) {
            (pick(2) == 0 ? term : meaning) += "\x08z";
        }
        std::string value = term;
        if (pick(10) != 0) {  // now and then a value that is only a term
            value += "\x07" + meaning + "\x07" + gbk::FromUtf8("解释 ") + std::to_string(i) +
                     (damage == Damage::kFalseStart ? "\r\n" + PairRecord("x", "x") : "") + "\x07";
        }
        const bool foreign = damage == Damage::kForeignKey && i == count / 2;
        g.bytes += PairRecord(foreign ? term + "k" : term, value);
        g.terms.push_back(term);
    }
    if (damage == Damage::kCut) {
        g.bytes.resize(pick(g.bytes.size()));
    } else if (damage == Damage::kNul) {
        g.bytes[pick(g.bytes.size())] = '\0';
    }
    return g;
}

class GlossaryScanTest : public ::testing::Test {
protected:
    void SetUp() override { TakeDamagedFileReports(); }

    // A new file with `bytes`: each run gets its own, as each command is a process of its own
    // and a damaged file is reported once per process.
    std::string NewFile(const std::string& bytes) {
        const std::string path = dir.file("g" + std::to_string(files++) + ".termix");
        TempDir::WriteBytes(path, bytes);
        return path;
    }

    using Outcome = CliRun;

    Outcome Run(const std::string& bytes, const std::string& command,
                const std::string& gbkOperand) {
        const std::string path = NewFile(bytes);
        Outcome o = RunCli({"--file", path, command, gbk::ToUtf8(gbkOperand)});
        // What stderr says about a damaged file, with this run's file name taken out.
        for (size_t at; (at = o.err.find(path)) != std::string::npos;) {
            o.err.replace(at, path.size(), "FILE");
        }
        return o;
    }

    // What the loaded glossary answers, printed as termix-cli prints it.
    static std::string Note(const std::vector<DamagedFile>& notes) {
        std::string text;
        for (const DamagedFile& d : notes) {
            text += "termix-cli: FILE is damaged: reading stopped at byte " +
                    std::to_string(d.stopOffset) + " after " + std::to_string(d.records) +
                    " records; the whole file is kept as FILE" +
                    d.copy.string().substr(d.path.string().size()) + "\n";
        }
        return text;
    }

    Outcome Expected(const std::string& bytes, const std::string& command,
                     const std::string& gbkOperand) {
        const CGlossary glossary{std::filesystem::path(NewFile(bytes))};
        Outcome o{cli::kNotFound, {}, Note(TakeDamagedFileReports())};
        if (command == "show") {
            CTermRecord r;
            if (glossary.Get(gbkOperand, r)) {
                o.code = cli::kFound;
                o.out = "term: " + gbk::ToUtf8(r.m_cs_term) +
                        "\nmeaning: " + gbk::ToUtf8(r.m_cs_meaning) +
                        "\nexplanation: " + gbk::ToUtf8(r.m_cs_explanation) + "\n";
            }
            return o;
        }
        CReportRowModel list = MakeTermList();
        if (glossary.ListByKeyword(list, gbkOperand) > 0) {
            o.code = cli::kFound;
        }
        for (int i = 0; i < list.GetRowCount(); ++i) {
            o.out +=
                gbk::ToUtf8(list.CellText(i, 0)) + "\t" + gbk::ToUtf8(list.CellText(i, 1)) + "\n";
        }
        return o;
    }

    void ExpectSameAnswers(const Generated& g) {
        std::vector<std::string> keywords = {"", "a", "ML", "ｍｌ", "Ｕ", "用", "zz", "\x08z"};
        std::vector<std::string> terms = {g.terms.front(), g.terms.back(), "absent", ""};
        for (const std::string& utf8 : keywords) {
            const std::string keyword = gbk::FromUtf8(utf8);
            const Outcome want = Expected(g.bytes, "search", keyword);
            const Outcome got = Run(g.bytes, "search", keyword);
            EXPECT_EQ(got.code, want.code) << utf8;
            EXPECT_EQ(got.out, want.out) << utf8;
            EXPECT_EQ(got.err.substr(0, got.err.find(".damaged-")),
                      want.err.substr(0, want.err.find(".damaged-")))
                << utf8;
            EXPECT_EQ(got.err.empty(), want.err.empty());
        }
        for (const std::string& term : terms) {
            const Outcome want = Expected(g.bytes, "show", term);
            const Outcome got = Run(g.bytes, "show", term);
            EXPECT_EQ(got.code, want.code) << gbk::ToUtf8(term);
            EXPECT_EQ(got.out, want.out) << gbk::ToUtf8(term);
            EXPECT_EQ(got.err.empty(), want.err.empty());
        }
    }

    // A scan's whole answer as text: whether it read the file, its entries, its damaged-file
    // note.
    std::string ScanAnswer(size_t splitFrom, const std::string& bytes,
                           const GlossaryScan::Condition& condition) {
        GlossaryScan scan(splitFrom);
        return ScanAnswer(scan, NewFile(bytes), condition);
    }

    static std::string ScanAnswer(GlossaryScan& scan, const std::string& path,
                                  const GlossaryScan::Condition& condition) {
        std::string answer = scan.Run(path, condition) ? "read\n" : "not read\n";
        for (const GlossaryScan::Entry& e : scan.Entries()) {
            answer.append(e.term).append("|").append(e.meaning).append("|");
            answer.append(e.explanation).append("\n");
        }
        for (const DamagedFile& d : TakeDamagedFileReports()) {
            answer += "damaged at " + std::to_string(d.stopOffset) + " after " +
                      std::to_string(d.records) + "\n";
        }
        return answer;
    }

    TempDir dir;
    int files = 0;
};

TEST_F(GlossaryScanTest, ShowAndSearchAnswerAsTheLoadedGlossary) {
    for (const Damage damage : {Damage::kNone, Damage::kCut, Damage::kNul, Damage::kForeignKey,
                                Damage::kRowSeparator, Damage::kFalseStart}) {
        for (unsigned seed = 1; seed <= 8; ++seed) {
            SCOPED_TRACE("damage " + std::to_string(static_cast<int>(damage)) + ", seed " +
                         std::to_string(seed));
            ExpectSameAnswers(Generate(seed, damage));
        }
    }
}

// Read in parts (every file split, whatever its size), a scan answers as one reading from the
// start: where a part's start is no record's start, where a NUL byte or damage comes before a
// part, where a later part repeats a term.
TEST_F(GlossaryScanTest, ReadingInPartsAnswersAsReadingFromTheStart) {
    for (const Damage damage :
         {Damage::kNone, Damage::kCut, Damage::kNul, Damage::kForeignKey, Damage::kFalseStart}) {
        for (unsigned seed = 1; seed <= 12; ++seed) {
            SCOPED_TRACE("damage " + std::to_string(static_cast<int>(damage)) + ", seed " +
                         std::to_string(seed));
            const Generated g = Generate(seed, damage);
            for (const GlossaryScan::Condition& condition :
                 {GlossaryScan::Containing(""), GlossaryScan::Containing(gbk::FromUtf8("ｍｌ")),
                  GlossaryScan::Exactly(g.terms[g.terms.size() / 2])}) {
                EXPECT_EQ(ScanAnswer(0, g.bytes, condition),
                          ScanAnswer(std::numeric_limits<size_t>::max(), g.bytes, condition));
            }
        }
    }
}

// A clean file's terms are kept in a cache, and a later scan of the unchanged file answers
// from it exactly as reading the file does; a damaged file or one stored under other keys gets
// no cache.
TEST_F(GlossaryScanTest, AnswersFromItsCacheAsFromTheFile) {
    if (!StampOf(dir.path())) {
        GTEST_SKIP() << "no file stamps on this system: nothing is cached";
    }
    const std::vector<std::string> keywords = {"", "a", "ML", "ｍｌ", "Ｕ", "用", "zz", "x"};
    for (const Damage damage : {Damage::kNone, Damage::kCut, Damage::kNul, Damage::kForeignKey,
                                Damage::kRowSeparator, Damage::kFalseStart}) {
        for (unsigned seed = 1; seed <= 6; ++seed) {
            SCOPED_TRACE("damage " + std::to_string(static_cast<int>(damage)) + ", seed " +
                         std::to_string(seed));
            const Generated g = Generate(seed, damage);
            std::vector<GlossaryScan::Condition> conditions;
            for (const std::string& keyword : keywords) {
                conditions.push_back(GlossaryScan::Containing(gbk::FromUtf8(keyword)));
            }
            for (const std::string& term : {g.terms.front(), g.terms.back(), std::string("q")}) {
                conditions.push_back(GlossaryScan::Exactly(term));
            }
            const std::string path = NewFile(g.bytes);
            const TempDir cacheDir;
            GlossaryScan cached;
            cached.UseCache(cacheDir.path(), std::chrono::nanoseconds(0));
            const bool clean = damage == Damage::kNone || damage == Damage::kRowSeparator ||
                               damage == Damage::kFalseStart;
            // The entries only: a damaged file is noted once, by whichever scan comes first.
            const auto entries = [](std::string answer) {
                return answer.substr(0, answer.find("damaged at"));
            };
            for (const GlossaryScan::Condition& condition : conditions) {
                GlossaryScan plain;
                const std::string want = entries(ScanAnswer(plain, path, condition));
                EXPECT_EQ(entries(ScanAnswer(cached, path, condition)), want);
                EXPECT_EQ(cached.AnsweredFromCache(), clean && &condition != &conditions[0]);
            }
        }
    }
}

TEST_F(GlossaryScanTest, ACacheIsLeftAsideOnceTheFileOrTheCacheChanges) {
    if (!StampOf(dir.path())) {
        GTEST_SKIP() << "no file stamps on this system: nothing is cached";
    }
    const std::string first =
        PairRecord("a", "a\x07m1\x07\x07") + PairRecord("b", "b\x07m2\x07\x07");
    const std::string path = NewFile(first);
    const TempDir cacheDir;
    GlossaryScan scan;
    scan.UseCache(cacheDir.path(), std::chrono::nanoseconds(0));
    const auto meaningOf = [&](const std::string& term) {
        EXPECT_TRUE(scan.Run(path, GlossaryScan::Exactly(term)));
        return scan.Entries().empty() ? std::string("-") : std::string(scan.Entries()[0].meaning);
    };
    ASSERT_EQ(meaningOf("b"), "m2");
    ASSERT_EQ(meaningOf("b"), "m2");
    ASSERT_TRUE(scan.AnsweredFromCache());

    // The file rewritten in place: its stamp (here its size) no longer matches.
    TempDir::WriteBytes(path, first + PairRecord("c", "c\x07m3\x07\x07"));
    EXPECT_EQ(meaningOf("c"), "m3");
    EXPECT_FALSE(scan.AnsweredFromCache());
    EXPECT_EQ(meaningOf("c"), "m3");
    EXPECT_TRUE(scan.AnsweredFromCache());

    // A damaged cache file fails its checksum; the scan answers and writes it anew.
    const GlossaryScanCache cache(cacheDir.path(), path);
    std::string bytes = TempDir::ReadBytes(cache.Path());
    bytes[bytes.size() - 1] ^= 1;
    TempDir::WriteBytes(cache.Path(), bytes);
    EXPECT_EQ(meaningOf("c"), "m3");
    EXPECT_FALSE(scan.AnsweredFromCache());
    EXPECT_EQ(meaningOf("c"), "m3");
    EXPECT_TRUE(scan.AnsweredFromCache());

    // A save removes the temporary a save cut short left behind, not one being written now.
    const std::filesystem::path left = cache.Path().string() + ".1.new";
    const std::filesystem::path writing = cache.Path().string() + ".2.new";
    TempDir::WriteBytes(left, "x");
    TempDir::WriteBytes(writing, "x");
    std::filesystem::last_write_time(
        left, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));

    // A cache that names the right stamp but sends the reader to the wrong record is caught by
    // the record's own key.
    const std::optional<FileStamp> stamp = StampOf(path);
    ASSERT_TRUE(stamp);
    ASSERT_TRUE(cache.Save(*stamp, {{"a", 0}, {"b", 0}, {"c", 0}}));
    EXPECT_FALSE(TempDir::Exists(left));
    EXPECT_TRUE(TempDir::Exists(writing));
    EXPECT_EQ(meaningOf("b"), "m2");
    EXPECT_FALSE(scan.AnsweredFromCache());
    EXPECT_EQ(meaningOf("zz"), "-");
    EXPECT_TRUE(scan.AnsweredFromCache());
}

// From the cache, a few records of a large file are read piece by piece and many through the
// mapping; a record longer than the first piece read is read again whole.
TEST_F(GlossaryScanTest, AnswersFromTheCacheReadLongRecordsWhole) {
    if (!StampOf(dir.path())) {
        GTEST_SKIP() << "no file stamps on this system: nothing is cached";
    }
    const std::string longExplanation(9000, 'x');
    std::string bytes = PairRecord("a", "a\x07m1\x07\x07");
    bytes += PairRecord("long", "long\x07m2\x07" + longExplanation + "\x07");
    for (int i = 0; i < 40; ++i) {
        const std::string term = "pad " + std::to_string(100 + i);
        bytes += PairRecord(term, term + "\x07m\x07" + std::string(300, 'p') + "\x07");
    }
    const std::string path = NewFile(bytes);
    const TempDir cacheDir;
    GlossaryScan scan;
    scan.UseCache(cacheDir.path(), std::chrono::nanoseconds(0));
    const std::string plain = ScanAnswer(scan, path, GlossaryScan::Exactly("long"));
    ASSERT_FALSE(scan.AnsweredFromCache());
    for (const GlossaryScan::Condition& condition :
         {GlossaryScan::Exactly("long"), GlossaryScan::Containing("long")}) {
        EXPECT_EQ(ScanAnswer(scan, path, condition), plain);
        EXPECT_TRUE(scan.AnsweredFromCache());
    }
    GlossaryScan uncached;
    const std::string all = ScanAnswer(uncached, path, GlossaryScan::Containing(""));
    EXPECT_EQ(ScanAnswer(scan, path, GlossaryScan::Containing("")), all);
    EXPECT_TRUE(scan.AnsweredFromCache());
    EXPECT_NE(all.find(longExplanation), std::string::npos);
}

TEST_F(GlossaryScanTest, NoCacheIsMadeOfAFileChangedAMomentAgo) {
    const std::string path = NewFile(PairRecord("a", "a\x07m\x07\x07"));
    const TempDir cacheDir;
    GlossaryScan scan;
    scan.UseCache(cacheDir.path());
    for (int run = 0; run < 2; ++run) {
        ASSERT_TRUE(scan.Run(path, GlossaryScan::Exactly("a")));
        EXPECT_EQ(scan.Entries().size(), 1u);
        EXPECT_FALSE(scan.AnsweredFromCache());
    }
    EXPECT_TRUE(std::filesystem::is_empty(cacheDir.path()));
}

TEST_F(GlossaryScanTest, KeepsTheLastRecordOfATermAndLeavesForeignKeysToTheGlossary) {
    const std::string bytes = PairRecord("b", "b\x07one\x07\x07") +
                              PairRecord("a", "a\x07m\x07\x07") +
                              PairRecord("b", "b\x07two\x07\x07");
    GlossaryScan scan;
    ASSERT_TRUE(scan.Run(NewFile(bytes), GlossaryScan::Containing("")));
    ASSERT_EQ(scan.Entries().size(), 2u);
    EXPECT_EQ(scan.Entries()[0].term, "a");
    EXPECT_EQ(scan.Entries()[1].meaning, "two");
    EXPECT_FALSE(
        scan.Run(NewFile(bytes + PairRecord("c", "d\x07m\x07\x07")), GlossaryScan::Exactly("d")));
    EXPECT_TRUE(scan.Entries().empty());
    EXPECT_TRUE(TakeDamagedFileReports().empty());
}

TEST_F(GlossaryScanTest, ADamagedFileIsCopiedAsideOnce) {
    const std::string record = PairRecord("a", "a\x07m\x07\x07");
    const std::string bytes = record + "0009#cut";
    const std::string path = NewFile(bytes);
    GlossaryScan scan;
    ASSERT_TRUE(scan.Run(path, GlossaryScan::Exactly("a")));
    const std::vector<DamagedFile> notes = TakeDamagedFileReports();
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].stopOffset, record.size());
    EXPECT_EQ(notes[0].records, 1u);
    EXPECT_EQ(TempDir::ReadBytes(notes[0].copy.string()), bytes);
    EXPECT_EQ(scan.Entries().size(), 1u);
}

}  // namespace
