#include "core/fileio/SaveTurn.h"

#include <algorithm>
#include <mutex>
#include <thread>
#include <vector>

namespace fileio {
namespace {

std::mutex g_heldMutex;
std::vector<SaveTurn*> g_held;  // the turns this process holds

std::filesystem::path KeyOf(const std::filesystem::path& path) {
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(SaveTarget(path), ec);
    return (ec ? SaveTarget(path) : absolute).lexically_normal();
}

}  // namespace

std::filesystem::path TemporaryFor(const std::filesystem::path& target) {
    std::filesystem::path temporary = target;
    temporary += ".saving";
    return temporary;
}

SaveTurn::~SaveTurn() {
    Release();
}

Status SaveTurn::Take(const std::filesystem::path& path, std::chrono::milliseconds wait) {
    Release();
    m_key = KeyOf(path);
    m_temporary = TemporaryFor(SaveTarget(path));
    m_written.reset();
    const auto deadline = std::chrono::steady_clock::now() + wait;
    // Short naps at first, as most saves take milliseconds; longer ones later.
    std::chrono::milliseconds nap{1};
    while (true) {
        Status failure;
        switch (TryLock(failure)) {
            case Attempt::kHeld: {
                const std::lock_guard<std::mutex> lock(g_heldMutex);
                g_held.push_back(this);
                return {};
            }
            case Attempt::kFailed:
                return failure;
            case Attempt::kGone:
                continue;
            case Attempt::kBusy:
                break;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return failure.ok() ? Status{Outcome::kBusy, 0} : failure;
        }
        std::this_thread::sleep_for(nap);
        nap = std::min(nap * 2, std::chrono::milliseconds{20});
    }
}

void SaveTurn::Release() {
    if (!Held()) {
        return;
    }
    {
        const std::lock_guard<std::mutex> lock(g_heldMutex);
        g_held.erase(std::remove(g_held.begin(), g_held.end(), this), g_held.end());
    }
    Close(true);
}

void SaveTurn::Spend() {
    if (!Held()) {
        return;
    }
    {
        const std::lock_guard<std::mutex> lock(g_heldMutex);
        g_held.erase(std::remove(g_held.begin(), g_held.end(), this), g_held.end());
    }
    Close(false);
}

SaveTurn* SaveTurn::HeldFor(const std::filesystem::path& path) {
    const std::filesystem::path key = KeyOf(path);
    const std::lock_guard<std::mutex> lock(g_heldMutex);
    for (SaveTurn* turn : g_held) {
        if (turn->m_key == key) {
            return turn;
        }
    }
    return nullptr;
}

}  // namespace fileio
