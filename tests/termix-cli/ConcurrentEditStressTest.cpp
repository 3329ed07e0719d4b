#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "core/Glossary.h"
#include "core/PairFile.h"
#include "core/fileio/SaveTurn.h"
#include "tests/support/TempDir.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;

pid_t StartCli(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    std::string program = TERMIX_CLI;
    argv.push_back(program.data());
    std::vector<std::string> copies = args;
    for (std::string& arg : copies) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return failed == 0 ? pid : -1;
}

// The exit code, or -1 when the process was killed.
int Wait(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Files beside the glossary that are not the glossary itself.
std::vector<std::string> Leftovers(const TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        if (entry.path().filename() != "g.termix") {
            names.push_back(entry.path().filename().string());
        }
    }
    return names;
}

// The glossary reads whole, to its last byte.
bool ReadsWhole(const std::string& path) {
    Qm_conf_solitude_File file(path, "#", "\r\n");
    file.Discard();
    return file.StopOffset() < 0;
}

// Forty editors at once on one glossary: every add that reports success is in the file.
TEST(ConcurrentEdits, FortyParallelAddsAllLand) {
    TempDir dir;
    const std::string path = dir.file("g.termix");
    TempDir::WriteBytes(path, "");
    std::vector<pid_t> editors;
    for (int i = 0; i < 40; ++i) {
        editors.push_back(StartCli({"--file", path, "add", "term " + std::to_string(i), "m"}));
        ASSERT_GT(editors.back(), 0);
    }
    int succeeded = 0;
    for (const pid_t pid : editors) {
        succeeded += Wait(pid) == 0 ? 1 : 0;
    }
    EXPECT_EQ(succeeded, 40);
    EXPECT_EQ(CGlossary(path).GetCount(), 40);
    EXPECT_TRUE(ReadsWhole(path));
    EXPECT_TRUE(Leftovers(dir).empty());
}

// Rounds of four parallel editors (adds, an update and a delete), one of them killed at a random
// moment: the file stays whole, every edit that reported success is in it, the next editor gets
// its turn at once, and at most one file of ours is left beside the glossary.
TEST(ConcurrentEdits, EditorsKilledAtAnyMomentLoseNoFinishedEdit) {
    TempDir dir;
    const std::string path = dir.file("g.termix");
    TempDir::WriteBytes(path, "");
    std::vector<std::string> present;  // terms whose add succeeded and no delete removed
    std::mt19937 random(20240526);
    constexpr int kRounds = 30;
    int killed = 0;
    int lost = 0;
    for (int round = 0; round < kRounds; ++round) {
        const std::string base = "r" + std::to_string(round) + " ";
        std::vector<pid_t> editors;
        for (int i = 0; i < 3; ++i) {
            editors.push_back(StartCli({"--file", path, "add", base + std::to_string(i), "m"}));
        }
        // A term of the round before goes, when there is one.
        const std::string gone = present.empty() ? std::string() : present.front();
        editors.push_back(gone.empty() ? StartCli({"--file", path, "add", base + "3", "m"})
                                       : StartCli({"--file", path, "delete", gone}));
        const size_t victim = random() % editors.size();
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 8000));
        ::kill(editors[victim], SIGKILL);
        bool deleteKilled = false;
        for (size_t i = 0; i < editors.size(); ++i) {
            ASSERT_GT(editors[i], 0);
            const int code = Wait(editors[i]);
            if (code == -1) {
                ++killed;
                deleteKilled = i == 3 && !gone.empty();
                continue;
            }
            ASSERT_EQ(code, 0) << "editor " << i << " of round " << round;
            if (i < 3 || gone.empty()) {
                present.push_back(base + std::to_string(i));
            } else {
                present.erase(present.begin());
            }
        }
        ASSERT_TRUE(ReadsWhole(path)) << "round " << round;
        const CGlossary glossary(path);
        // A killed delete may have landed or not.
        if (deleteKilled && !glossary.Exists(gone)) {
            present.erase(present.begin());
        }
        for (const std::string& term : present) {
            lost += glossary.Exists(term) ? 0 : 1;
        }
        if (!gone.empty() && !deleteKilled) {
            EXPECT_FALSE(glossary.Exists(gone)) << "a finished delete came back";
        }
        // Terms of a killed editor may or may not have landed; they count as present from here.
        for (int i = 0; i < 4; ++i) {
            const std::string term = base + std::to_string(i);
            if (glossary.Exists(term) &&
                std::find(present.begin(), present.end(), term) == present.end()) {
                present.push_back(term);
            }
        }
        const std::vector<std::string> left = Leftovers(dir);
        ASSERT_LE(left.size(), 1u) << "round " << round;
        if (!left.empty()) {
            EXPECT_EQ(left[0], "g.termix.saving");
        }
        // The killed editor's lock went with it.
        fileio::SaveTurn turn;
        EXPECT_TRUE(turn.Take(path, 0ms).ok()) << "round " << round;
    }
    EXPECT_EQ(lost, 0);
    EXPECT_GT(killed, 0);
    RecordProperty("editors", 4);
    RecordProperty("rounds", kRounds);
    RecordProperty("lost", lost);
    std::printf("%d rounds of 4 editors, %d killed, %d finished edits lost\n", kRounds, killed,
                lost);
}

}  // namespace
