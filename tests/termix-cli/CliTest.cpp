#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "core/Glossary.h"
#include "core/fileio/SaveTurn.h"
#include "platform/SingleInstance.h"
#include "tests/support/TempDir.h"
#include "tests/termix-cli/CliRun.h"
#include "tools/termix-cli/CliCommands.h"
#include "tools/termix-cli/CliSupport.h"
#include "util/ExeDir.h"
#include "util/GbkText.h"

namespace {

class CliTest : public ::testing::Test {
protected:
    CliTest() {
        CGlossary glossary(glossaryPath);
        glossary.Add(CTermRecord("UML", GBK("统一建模语言"), GBK("第一行\r\n第二行")));
        glossary.Add(CTermRecord("uml", "lower", ""));
        glossary.Add(CTermRecord("use case", GBK("用例"), ""));
        glossary.Add(CTermRecord("4+1 view", GBK("4+1视图"), ""));
        glossary.Save();
    }

    int Run(const std::vector<std::string>& args,
            std::chrono::milliseconds editWait = fileio::kSaveWait) {
        CliRun run = RunCli(args, editWait);
        stdoutText = std::move(run.out);
        stderrText = std::move(run.err);
        return run.code;
    }
    int RunWaiting(std::vector<std::string> args, std::chrono::milliseconds editWait) {
        args.insert(args.begin(), {"--file", glossaryPath});
        return Run(args, editWait);
    }
    int RunOnFile(std::vector<std::string> args) {
        args.insert(args.begin(), {"--file", glossaryPath});
        return Run(args);
    }

    TempDir dir;
    std::string glossaryPath = dir.file("g.termix");
    std::string stdoutText;
    std::string stderrText;
};

TEST_F(CliTest, QueriesPrintSortedRowsAsUtf8) {
    EXPECT_EQ(RunOnFile({"all"}), 0);
    EXPECT_EQ(stdoutText, "4+1 view\t4+1视图\nUML\t统一建模语言\numl\tlower\nuse case\t用例\n");
    EXPECT_EQ(RunOnFile({"letter", "u"}), 0);
    EXPECT_EQ(stdoutText, "UML\t统一建模语言\numl\tlower\nuse case\t用例\n");
    EXPECT_EQ(RunOnFile({"nonletter"}), 0);
    EXPECT_EQ(stdoutText, "4+1 view\t4+1视图\n");
    EXPECT_EQ(RunOnFile({"search", "ML"}), 0);
    EXPECT_EQ(stdoutText, "UML\t统一建模语言\numl\tlower\n");
}

TEST_F(CliTest, NoMatchExitsOne) {
    EXPECT_EQ(RunOnFile({"search", "zzz"}), 1);
    EXPECT_EQ(stdoutText, "");
    EXPECT_EQ(RunOnFile({"letter", "Q"}), 1);
}

TEST_F(CliTest, ShowPrintsTheExactTermOnThreeLabelledLines) {
    EXPECT_EQ(RunOnFile({"show", "UML"}), 0);
    EXPECT_EQ(stdoutText, "term: UML\nmeaning: 统一建模语言\nexplanation: 第一行\r\n第二行\n");
    EXPECT_EQ(RunOnFile({"show", "Uml"}), 1);
}

TEST_F(CliTest, CheckReportsRecordsAndWhereParsingStopped) {
    EXPECT_EQ(RunOnFile({"check"}), 0);
    EXPECT_EQ(stdoutText, "records: 4\n");
    std::string bytes = TempDir::ReadBytes(glossaryPath);
    const size_t size = bytes.size();
    TempDir::WriteBytes(glossaryPath, bytes + "garbage");
    EXPECT_EQ(RunOnFile({"check"}), 3);
    EXPECT_EQ(stdoutText, "records: 4\nstopped at byte: " + std::to_string(size) + "\n");
}

TEST_F(CliTest, UsageAndFileErrorsExitTwoAndWriteNothing) {
    EXPECT_EQ(Run({}), 2);
    EXPECT_NE(stderrText.find("usage"), std::string::npos);
    EXPECT_EQ(RunOnFile({"frobnicate"}), 2);
    EXPECT_EQ(RunOnFile({"letter"}), 2);
    EXPECT_EQ(RunOnFile({"letter", "ab"}), 2);
    EXPECT_EQ(Run({"--file"}), 2);
    EXPECT_EQ(Run({"--file", dir.file("missing"), "all"}), 2);
    EXPECT_NE(stderrText.find("missing"), std::string::npos);
    EXPECT_FALSE(TempDir::Exists(dir.file("missing")));
}

TEST_F(CliTest, ReadErrorPrintsTheProgramsReadMessage) {
    EXPECT_EQ(Run({"--file", dir.path(), "all"}), 2);
    EXPECT_EQ(stderrText, "读入配置文件(" + dir.path() +
                              ")出错!\n这不是一个普通文件(而是文件夹、管道或设备)。\n");
}

TEST_F(CliTest, WithoutFileTheGlossaryNextToTheExecutableIsUsed) {
    TempDir exeDir;
    SetExeDirForTesting(exeDir.path());
    EXPECT_EQ(Run({"all"}), 1);  // missing: an empty glossary
    TempDir::WriteBytes(exeDir.file("Termix.CGlossary.termix"), TempDir::ReadBytes(glossaryPath));
    EXPECT_EQ(Run({"search", "case"}), 0);
    EXPECT_EQ(stdoutText, "use case\t用例\n");
    SetExeDirForTesting("");
}

TEST_F(CliTest, ImportBuildsAGlossaryAndRejectsBadSources) {
    TempDir::WriteBytes(dir.file("ok.tsv"),
                        "term\tmeaning\texplanation\nActor\t参与者\t也译作执行者。\\n第二行\n"
                        "NT\tNT操作系统\t\n");
    EXPECT_EQ(Run({"import", dir.file("ok.tsv"), dir.file("out.termix")}), 0);
    CGlossary built(dir.file("out.termix"));
    EXPECT_EQ(built.GetCount(), 2);
    CTermRecord actor;
    ASSERT_TRUE(built.Get("Actor", actor));
    EXPECT_EQ(actor.m_cs_explanation, GBK("也译作执行者。\r\n第二行"));

    TempDir::WriteBytes(dir.file("bad.tsv"),
                        "term\tmeaning\texplanation\nA\tx\t\nA\ty\t\nB\t\t\nC\t😀\t\nD\tx\n");
    EXPECT_EQ(Run({"import", dir.file("bad.tsv"), dir.file("bad.termix")}), 2);
    EXPECT_NE(stderrText.find("line 3"), std::string::npos);  // duplicate
    EXPECT_NE(stderrText.find("line 4"), std::string::npos);  // empty meaning
    EXPECT_NE(stderrText.find("line 5"), std::string::npos);  // not GBK
    EXPECT_NE(stderrText.find("line 6"), std::string::npos);  // two fields
    EXPECT_FALSE(TempDir::Exists(dir.file("bad.termix")));
}

}  // namespace

namespace {

TEST_F(CliTest, ADamagedGlossaryIsReadAsFarAsItGoesAndSaidSo) {
    TempDir::WriteBytes(glossaryPath, TempDir::ReadBytes(glossaryPath) + "0042#broken");
    EXPECT_EQ(RunOnFile({"search", "case"}), 0);
    EXPECT_EQ(stdoutText, "use case\t用例\n");
    EXPECT_EQ(stderrText.rfind(
                  "termix-cli: " + glossaryPath + " is damaged: reading stopped at byte ", 0),
              0u)
        << stderrText;
    EXPECT_NE(
        stderrText.find("after 4 records; the whole file is kept as " + glossaryPath + ".damaged-"),
        std::string::npos)
        << stderrText;
}

// A --file path with a folder name GBK cannot hold opens (CliPosixTest runs the program itself
// from such a folder).
TEST_F(CliTest, AnyFolderNameWorks) {
    const std::filesystem::path folder = std::filesystem::path(dir.path()) / u8"björn 한국어";
    std::filesystem::create_directory(folder);
    std::filesystem::copy_file(glossaryPath, folder / "g.termix");
    const std::u8string file = (folder / "g.termix").u8string();
    EXPECT_EQ(Run({"--file", std::string(file.begin(), file.end()), "show", "UML"}), 0);
    EXPECT_EQ(stdoutText.rfind("term: UML\n", 0), 0u) << stdoutText;
}

}  // namespace

namespace {

TEST_F(CliTest, WhereNamesTheModeAndTheThreeFiles) {
    SetExeDirForTesting(dir.path());
    EXPECT_EQ(Run({"where"}), 0);
    EXPECT_EQ(stdoutText, "mode: portable\nsettings: " + dir.file("Termix.CConfGlobal.cfg") +
                              "\nglossary: " + dir.file("Termix.CGlossary.termix") +
                              "\nhistory: " + dir.file("Termix.CHistroy.termix") + "\n");
    EXPECT_EQ(Run({"where", "x"}), 2);
    SetExeDirForTesting("");
}

}  // namespace

namespace {

// Exporting a glossary and importing it into an empty one gives the same file, byte for byte.
TEST_F(CliTest, ExportThenImportReproducesTheGlossaryFile) {
    {
        CGlossary glossary{std::filesystem::path(glossaryPath)};
        glossary.Add(CTermRecord("a,\"b\";c", GBK("引号"), "<&>\r\n\ttab\\"));
        glossary.Add(CTermRecord("  ", GBK("全角ＡＢ"), ""));
        glossary.Save();
    }
    for (const char* format : {"tsv", "csv", "tbx", "tbx-v2"}) {
        const std::string exported = dir.file(std::string("out.") + format);
        const std::string copy = dir.file(std::string("copy-") + format + ".termix");
        TempDir::WriteBytes(copy, "");
        ASSERT_EQ(RunOnFile({"export", "--format", format, "--output", exported}), 0) << format;
        ASSERT_EQ(Run({"--file", copy, "import", "--format", format, exported}), 0)
            << format << stderrText;
        EXPECT_EQ(TempDir::ReadBytes(copy), TempDir::ReadBytes(glossaryPath)) << format;
    }
    // A record tsv cannot carry stops the export; the earlier file stays as it was.
    const std::string exported = dir.file("out.tsv");
    const std::string before = TempDir::ReadBytes(exported);
    RunOnFile({"add", "zz", "x", "line\nbreak"});
    EXPECT_EQ(RunOnFile({"export", "--format", "tsv", "--output", exported}), 2);
    EXPECT_NE(stderrText.find("cannot export: the term \"zz\""), std::string::npos) << stderrText;
    EXPECT_EQ(TempDir::ReadBytes(exported), before);
}

TEST_F(CliTest, ImportsOfOtherToolsShapesSayWhatTheyPassedOver) {
    const std::string before = TempDir::ReadBytes(glossaryPath);
    const std::string csv = dir.file("in.csv");
    // Columns that cannot be told apart: refused, nothing written.
    TempDir::WriteBytes(csv, "English;source;Chinese\nNode;Node;节点\n");
    EXPECT_EQ(RunOnFile({"import", "--format", "csv", csv}), 2);
    EXPECT_NE(stderrText.find("record 0: the columns cannot be told apart"), std::string::npos)
        << stderrText;
    EXPECT_EQ(TempDir::ReadBytes(glossaryPath), before);
    // The same file with its columns named by position.
    EXPECT_EQ(RunOnFile({"import", "--format", "csv", "--columns", "-,term,meaning", csv}), 0)
        << stderrText;
    EXPECT_EQ(stdoutText, "imported 1 new terms, replaced 0, kept 0, unchanged 0\n");
    EXPECT_EQ(RunOnFile({"import", "--format", "csv", "--columns", "term,term", csv}), 2);
    EXPECT_EQ(RunOnFile({"import", "--format", "tbx", "--columns", "term,meaning", csv}), 2);
    // Extra columns and other languages are named on stderr.
    TempDir::WriteBytes(csv, "ID,en,zh-CN,Subject\n1,Port,端口,UML\n");
    EXPECT_EQ(RunOnFile({"import", "--format", "csv", csv}), 0);
    EXPECT_NE(stderrText.find("note: " + csv + ": columns passed over: ID, Subject"),
              std::string::npos)
        << stderrText;
    const std::string tbx = dir.file("in.tbx");
    TempDir::WriteBytes(tbx,
                        "<martif><text><body><termEntry><langSet xml:lang='en'><tig><term>Port"
                        "</term></tig></langSet><langSet xml:lang='zh'><tig><term>端口</term>"
                        "</tig></langSet></termEntry><termEntry><langSet xml:lang='en'><tig>"
                        "<term>Port</term></tig></langSet><langSet xml:lang='zh'><tig><term>港"
                        "</term></tig></langSet></termEntry></body></text></martif>");
    EXPECT_EQ(RunOnFile({"import", "--format", "tbx", tbx}), 2);
    EXPECT_NE(stderrText.find("termEntry 2: the term \"Port\" already stands in termEntry 1"),
              std::string::npos)
        << stderrText;
}

// Every command and option the usage lists is described in the manual page.
TEST_F(CliTest, TheManualPageDescribesEverythingTheUsageLists) {
    std::string man = TempDir::ReadBytes(TERMIX_CLI_MAN_PAGE);
    for (size_t at = man.find("\\-"); at != std::string::npos; at = man.find("\\-", at)) {
        man.erase(at, 1);  // roff's "\-" is a hyphen
    }
    const std::string usage = cli::kUsage;
    std::vector<std::string> missing;
    size_t lineStart = 0;
    while (lineStart < usage.size()) {
        const size_t lineEnd = usage.find('\n', lineStart);
        const std::string line = usage.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;
        // A command: a line indented by two spaces that starts with a lower-case word.
        if (line.size() > 2 && line.rfind("  ", 0) == 0 && line[2] >= 'a' && line[2] <= 'z') {
            const std::string command = line.substr(2, line.find(' ', 2) - 2);
            if (man.find("\n.B " + command) == std::string::npos &&
                man.find("\n.BI " + command + " ") == std::string::npos &&
                man.find("\n.BR " + command + " ") == std::string::npos) {
                missing.push_back(command);
            }
        }
        // Options and the values of --format.
        for (size_t dash = line.find("--"); dash != std::string::npos;
             dash = line.find("--", dash)) {
            size_t end = dash + 2;
            while (end < line.size() &&
                   ((line[end] >= 'a' && line[end] <= 'z') || line[end] == '-')) {
                ++end;
            }
            const std::string option = line.substr(dash, end - dash);
            if (man.find(option) == std::string::npos) {
                missing.push_back(option);
            }
            dash = end;
        }
    }
    for (const char* word : {"tbx-v2", "replace", "explanation|all", "4 when"}) {
        if (man.find(word) == std::string::npos) {
            missing.emplace_back(word);
        }
    }
    EXPECT_TRUE(missing.empty()) << ::testing::PrintToString(missing);
}

TEST_F(CliTest, ConflictsFailUnlessKeptOrReplaced) {
    const std::string source = dir.file("in.tsv");
    TempDir::WriteBytes(source, "term\tmeaning\texplanation\nUML\tnew\t\nNode\t节点\t\n");
    const std::string before = TempDir::ReadBytes(glossaryPath);
    EXPECT_EQ(RunOnFile({"import", "--format", "tsv", source}), 1);
    EXPECT_NE(stderrText.find("line 2: \"UML\" is already in the glossary"), std::string::npos)
        << stderrText;
    EXPECT_EQ(TempDir::ReadBytes(glossaryPath), before);

    EXPECT_EQ(RunOnFile({"import", "--format", "tsv", "--on-conflict", "keep", source}), 0);
    EXPECT_EQ(stdoutText, "imported 1 new terms, replaced 0, kept 1, unchanged 0\n");
    EXPECT_EQ(RunOnFile({"import", "--format", "tsv", "--on-conflict", "replace", source}), 0);
    EXPECT_EQ(stdoutText, "imported 0 new terms, replaced 1, kept 0, unchanged 1\n");
    EXPECT_EQ(RunOnFile({"show", "UML"}), 0);
    EXPECT_EQ(stdoutText, "term: UML\nmeaning: new\nexplanation: \n");

    // A refused entry: nothing is written.
    TempDir::WriteBytes(source, "term\tmeaning\texplanation\nFresh\tx\t\nEmpty\t\t\n");
    const std::string now = TempDir::ReadBytes(glossaryPath);
    EXPECT_EQ(RunOnFile({"import", "--format", "tsv", source}), 2);
    EXPECT_NE(stderrText.find("line 3: the term and the meaning must not be empty"),
              std::string::npos);
    EXPECT_EQ(TempDir::ReadBytes(glossaryPath), now);
}

TEST_F(CliTest, EditsAreCheckedAndSaved) {
    EXPECT_EQ(RunOnFile({"add", "Node", "节点", "a box"}), 0);
    EXPECT_EQ(RunOnFile({"add", "Node", "again"}), 1);
    EXPECT_EQ(RunOnFile({"update", "Node", "结点"}), 0);
    EXPECT_EQ(RunOnFile({"show", "Node"}), 0);
    EXPECT_EQ(stdoutText, "term: Node\nmeaning: 结点\nexplanation: \n");
    EXPECT_EQ(RunOnFile({"update", "Missing", "x"}), 1);
    EXPECT_EQ(RunOnFile({"add", "Bell", "a\ab"}), 2);  // a separator byte
    EXPECT_EQ(RunOnFile({"add", "Wide", "\xF0\x9F\x98\x80"}), 2);
    EXPECT_EQ(RunOnFile({"delete", "Node"}), 0);
    EXPECT_EQ(RunOnFile({"show", "Node"}), 1);
}

// While the window program runs, it holds the program's glossary; other files may be written.
TEST_F(CliTest, WritingCommandsWaitForTheWindowProgram) {
#ifndef _WIN32
    // The marker lives in the runtime folder: a private one keeps a real Termix out of the test.
    TempDir runtime;
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string keep = saved ? saved : "";
    setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
#endif
    SetExeDirForTesting(dir.path());
    const std::string own = dir.file("Termix.CGlossary.termix");
    TempDir::WriteBytes(own, TempDir::ReadBytes(glossaryPath));
    {
        platform::CSingleInstance running;
        ASSERT_TRUE(running.TryAcquire(platform::kProgramMarker));
        EXPECT_EQ(Run({"add", "Node", "x"}), 4);
        EXPECT_NE(stderrText.find("window program is running"), std::string::npos);
        EXPECT_EQ(Run({"--file", own, "delete", "UML"}), 4);
        EXPECT_EQ(RunOnFile({"add", "Node", "x"}), 0);  // another file
    }
    EXPECT_EQ(Run({"add", "Node", "x"}), 0);
    SetExeDirForTesting("");
#ifndef _WIN32
    if (saved != nullptr) {
        setenv("XDG_RUNTIME_DIR", keep.c_str(), 1);
    } else {
        unsetenv("XDG_RUNTIME_DIR");
    }
#endif
}

// Another program keeps its turn to change the glossary: an edit waits its bounded time, then
// fails and writes nothing; a read does not wait.
TEST_F(CliTest, AnEditThatCannotGetItsTurnFailsAndWritesNothing) {
    const std::string before = TempDir::ReadBytes(glossaryPath);
    fileio::SaveTurn other;
    ASSERT_TRUE(other.Take(glossaryPath).ok());
    for (const std::vector<std::string>& edit :
         {std::vector<std::string>{"add", "Actor", "a"}, {"delete", "UML"}}) {
        EXPECT_EQ(RunWaiting(edit, std::chrono::milliseconds{50}), 2);
        EXPECT_NE(stderrText.find("another program has been changing"), std::string::npos);
    }
    EXPECT_EQ(RunOnFile({"show", "UML"}), 0);
    other.Release();
    EXPECT_EQ(TempDir::ReadBytes(glossaryPath), before);
    EXPECT_EQ(RunWaiting({"add", "Actor", "a"}, std::chrono::milliseconds{50}), 0);
}

// The build's form replaces its OUTPUT whole; a damaged OUTPUT is first copied aside.
TEST_F(CliTest, ImportIntoADamagedOutputKeepsACopyOfItFirst) {
    const std::string damaged = "0003#UML = 0005#UML\a\a\a\r\n0009#cut off";
    TempDir::WriteBytes(dir.file("out.termix"), damaged);
    TempDir::WriteBytes(dir.file("in.tsv"), "term\tmeaning\texplanation\nActor\ta\t\n");
    EXPECT_EQ(Run({"import", dir.file("in.tsv"), dir.file("out.termix")}), 0);
    EXPECT_NE(stderrText.find("is damaged"), std::string::npos);
    std::vector<std::filesystem::path> copies;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        if (entry.path().filename().string().rfind("out.termix.damaged-", 0) == 0) {
            copies.push_back(entry.path());
        }
    }
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(TempDir::ReadBytes(copies[0]), damaged);
    EXPECT_EQ(CGlossary(dir.file("out.termix")).GetCount(), 1);
}

TEST_F(CliTest, SearchInMeaningsIsTheChineseLookupAndJsonEscapes) {
    {
        CGlossary glossary{std::filesystem::path(glossaryPath)};
        // 丂 is the bytes 0x81 0x40: its trail byte is "@", which must not match on its own.
        glossary.Add(CTermRecord("Trail", GBK("丂"), "say \"hi\"\\\r\n\x01"));
        glossary.Save();
    }
    EXPECT_EQ(RunOnFile({"search", "--in", "meaning", "用"}), 0);
    EXPECT_EQ(stdoutText, "use case\t用例\n");
    EXPECT_EQ(RunOnFile({"search", "--in", "meaning", "@"}), 1);
    EXPECT_EQ(RunOnFile({"search", "--in", "all", "第二"}), 0);
    EXPECT_EQ(stdoutText, "UML\t统一建模语言\n");
    EXPECT_EQ(RunOnFile({"show", "--json", "Trail"}), 0);
    EXPECT_EQ(stdoutText,
              "{\"term\":\"Trail\",\"meaning\":\"丂\",\"explanation\":\"say "
              "\\\"hi\\\"\\\\\\r\\n\\u0001\"}\n");
    EXPECT_EQ(RunOnFile({"search", "--in", "nowhere", "x"}), 2);
}

}  // namespace
