#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ui/main/StartupWorker.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Records what the worker hands over, with the time since the start.
struct Recorder {
    std::mutex mutex;
    std::vector<std::string> steps;
    std::vector<Clock::duration> when;
    Clock::time_point start = Clock::now();
    std::thread::id uiThread = std::this_thread::get_id();
    std::atomic<bool> ranOnUiThread{false};

    void Note(const std::string& step) {
        std::lock_guard<std::mutex> lock(mutex);
        steps.push_back(step);
        when.push_back(Clock::now() - start);
        if (std::this_thread::get_id() == uiThread) {
            ranOnUiThread = true;
        }
    }
    void Start(CStartupWorker& worker, const CStartupWorker::Plan& plan,
               CStartupWorker::Delays delays) {
        start = Clock::now();
        worker.Start(
            plan, [this] { Note("hide"); },
            [this](const std::string& term) { Note("search:" + term); }, delays);
    }
};

const CStartupWorker::Delays kShort{5ms, 10ms};

void WaitUntilFinished(const CStartupWorker& worker) {
    const auto deadline = Clock::now() + 10s;
    while (!worker.IsFinished() && Clock::now() < deadline) {
        std::this_thread::sleep_for(2ms);
    }
}

TEST(StartupWorkerTest, HidesThenSearchesWhenBothAreOn) {
    Recorder full;
    CStartupWorker worker;
    full.Start(worker, {true, true, "use case"}, kShort);
    WaitUntilFinished(worker);
    worker.Stop();
    EXPECT_EQ(full.steps, (std::vector<std::string>{"hide", "search:use case"}));
    EXPECT_FALSE(full.ranOnUiThread);
}

TEST(StartupWorkerTest, EachSwitchOnItsOwn) {
    struct Case {
        CStartupWorker::Plan plan;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {{false, false, "x"}, {}},
        {{true, false, "x"}, {"hide"}},
        {{false, true, ""}, {"search:"}},
    };
    for (const Case& c : cases) {
        Recorder rec;
        CStartupWorker worker;
        rec.Start(worker, c.plan, kShort);
        WaitUntilFinished(worker);
        worker.Stop();
        EXPECT_EQ(rec.steps, c.expected);
    }
}

TEST(StartupWorkerTest, WaitsAHundredMillisecondsThenFiveHundredMore) {
    Recorder rec;
    CStartupWorker worker;
    rec.Start(worker, {true, true, "UML"}, CStartupWorker::Delays());
    WaitUntilFinished(worker);
    worker.Stop();
    ASSERT_EQ(rec.steps.size(), 2u);
    EXPECT_GE(rec.when[0], 100ms);
    EXPECT_GE(rec.when[1] - rec.when[0], 500ms);
}

TEST(StartupWorkerTest, StopCutsTheWaitsShortAndHandsNothingMore) {
    Recorder rec;
    CStartupWorker worker;
    rec.Start(worker, {true, true, "UML"}, CStartupWorker::Delays{10s, 10s});
    const auto before = Clock::now();
    worker.Stop();
    EXPECT_LT(Clock::now() - before, 5s);
    EXPECT_TRUE(rec.steps.empty());
    EXPECT_FALSE(worker.IsRunning());
}

}  // namespace
