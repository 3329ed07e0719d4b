#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

// The delayed start-up work of the main window, on a thread of its own: it waits 100 ms, hands
// the hide to the window when the start-up hide is on, and when the start-up search is on waits
// 500 ms more and hands the search for the stored term. The thread never touches a window or a
// store itself; the handed-over callbacks are expected to queue their work on the UI thread.
// The start-up settings, read by the window before the worker starts.
struct StartupPlan {
    bool hide = false;
    bool search = false;
    std::string term;
};

struct StartupDelays {
    std::chrono::milliseconds beforeHide{100};
    std::chrono::milliseconds beforeSearch{500};
};

class CStartupWorker {
public:
    using Plan = StartupPlan;
    using Delays = StartupDelays;

    CStartupWorker() = default;
    ~CStartupWorker();  // stops and joins
    CStartupWorker(const CStartupWorker&) = delete;
    CStartupWorker& operator=(const CStartupWorker&) = delete;

    // Starts the thread; throws std::system_error when it cannot be started.
    void Start(const Plan& plan, std::function<void()> hide,
               std::function<void(const std::string& term)> search, Delays delays = Delays());
    // Cuts any wait short, so no further step is handed over, and joins the thread.
    void Stop();
    bool IsRunning() const { return m_thread.joinable(); }
    // True once the thread has handed over everything it was going to and ended.
    bool IsFinished() const { return m_finished; }

private:
    void Run(Plan plan, Delays delays);
    void RunSteps(const Plan& plan, Delays delays);
    // Waits `delay` unless stopped first; true when the full delay passed.
    bool WaitFor(std::chrono::milliseconds delay);

    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopping = false;
    std::atomic<bool> m_finished{false};
    std::function<void()> m_hide;
    std::function<void(const std::string&)> m_search;
};
