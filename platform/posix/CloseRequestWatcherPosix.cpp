#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>

#include "platform/CloseRequestWatcher.h"

namespace platform {
namespace {

constexpr std::array<int, 3> kSignals{SIGTERM, SIGINT, SIGHUP};

// Write end of the self-pipe of the one live watcher; -1 when none.
std::atomic<int> g_writeFd{-1};

// Only async-signal-safe calls: write one byte and keep errno as it was.
extern "C" void OnCloseSignal(int signalNumber) {
    const int savedErrno = errno;
    const int fd = g_writeFd.load(std::memory_order_relaxed);
    if (fd >= 0) {
        const char byte = static_cast<char>(signalNumber);
        [[maybe_unused]] const ssize_t written = write(fd, &byte, 1);
    }
    errno = savedErrno;
}

}  // namespace

struct CloseRequestWatcher::Impl {
    int readFd = -1;
    int writeFd = -1;
    QSocketNotifier* notifier = nullptr;
    std::array<struct sigaction, kSignals.size()> previous{};
    bool installed = false;
};

CloseRequestWatcher::CloseRequestWatcher(QObject* parent)
    : QObject(parent), m_impl(std::make_unique<Impl>()) {
    ConnectSessionEnd();

    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    int expected = -1;
    if (!g_writeFd.compare_exchange_strong(expected, fds[1])) {
        // Another watcher owns the signals.
        close(fds[0]);
        close(fds[1]);
        return;
    }
    m_impl->readFd = fds[0];
    m_impl->writeFd = fds[1];
    m_impl->notifier = new QSocketNotifier(fds[0], QSocketNotifier::Read, this);
    connect(m_impl->notifier, &QSocketNotifier::activated, this, [this] {
        char buffer[64];
        while (read(m_impl->readFd, buffer, sizeof buffer) > 0) {
        }
        Deliver();
    });

    struct sigaction action {};
    action.sa_handler = OnCloseSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < kSignals.size(); ++i) {
        sigaction(kSignals[i], &action, &m_impl->previous[i]);
    }
    m_impl->installed = true;
}

CloseRequestWatcher::~CloseRequestWatcher() {
    if (m_impl->installed) {
        for (size_t i = 0; i < kSignals.size(); ++i) {
            sigaction(kSignals[i], &m_impl->previous[i], nullptr);
        }
    }
    if (m_impl->writeFd >= 0) {
        g_writeFd.store(-1);
        delete m_impl->notifier;
        close(m_impl->readFd);
        close(m_impl->writeFd);
    }
}

bool CloseRequestWatcher::IsWatchingSignals() const {
    return m_impl->installed;
}

}  // namespace platform
