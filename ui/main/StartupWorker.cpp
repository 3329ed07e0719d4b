#include "ui/main/StartupWorker.h"

#include <utility>

CStartupWorker::~CStartupWorker() {
    Stop();
}

void CStartupWorker::Start(const Plan& plan, std::function<void()> hide,
                           std::function<void(const std::string& term)> search, Delays delays) {
    Stop();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = false;
    }
    m_finished = false;
    m_hide = std::move(hide);
    m_search = std::move(search);
    m_thread = std::thread(&CStartupWorker::Run, this, plan, delays);
}

void CStartupWorker::Stop() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

bool CStartupWorker::WaitFor(std::chrono::milliseconds delay) {
    std::unique_lock<std::mutex> lock(m_mutex);
    return !m_wake.wait_for(lock, delay, [this] { return m_stopping; });
}

void CStartupWorker::Run(Plan plan, Delays delays) {
    RunSteps(plan, delays);
    m_finished = true;
}

void CStartupWorker::RunSteps(const Plan& plan, Delays delays) {
    if (!WaitFor(delays.beforeHide)) {
        return;
    }
    if (plan.hide) {
        m_hide();
    }
    if (!plan.search) {
        return;
    }
    if (!WaitFor(delays.beforeSearch)) {
        return;
    }
    m_search(plan.term);
}
