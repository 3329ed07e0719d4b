#include <gtest/gtest.h>
#include <pthread.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <csignal>
#include <thread>

#include "platform/CloseRequestWatcher.h"

namespace {

using platform::CloseRequestWatcher;

// Runs the event loop until `done` holds or `timeoutMs` have passed.
template <typename Condition>
bool WaitFor(Condition done, int timeoutMs = 1000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return done();
}

struct Recorder {
    int count = 0;
    bool onUiThread = true;
    void Attach(CloseRequestWatcher& watcher) {
        QObject::connect(&watcher, &CloseRequestWatcher::closeRequested, [this] {
            ++count;
            onUiThread =
                onUiThread && QThread::currentThread() == QCoreApplication::instance()->thread();
        });
    }
};

TEST(CloseRequestWatcher, EachTerminationSignalBecomesOneRequestOnTheUiThread) {
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        CloseRequestWatcher watcher;
        ASSERT_TRUE(watcher.IsWatchingSignals());
        Recorder recorder;
        recorder.Attach(watcher);
        ASSERT_EQ(raise(signalNumber), 0);
        EXPECT_TRUE(WaitFor([&] { return recorder.count == 1; })) << signalNumber;
        EXPECT_TRUE(recorder.onUiThread);
    }
}

TEST(CloseRequestWatcher, ASignalOnAnotherThreadIsDeliveredOnTheUiThread) {
    CloseRequestWatcher watcher;
    Recorder recorder;
    recorder.Attach(watcher);
    std::thread worker([] { pthread_kill(pthread_self(), SIGTERM); });
    worker.join();
    EXPECT_TRUE(WaitFor([&] { return recorder.count == 1; }));
    EXPECT_TRUE(recorder.onUiThread);
}

TEST(CloseRequestWatcher, RepeatedRequestsAreDeliveredOnlyOnce) {
    CloseRequestWatcher watcher;
    Recorder recorder;
    recorder.Attach(watcher);
    raise(SIGTERM);
    raise(SIGINT);
    ASSERT_TRUE(WaitFor([&] { return recorder.count >= 1; }));
    raise(SIGHUP);
    WaitFor([] { return false; }, 100);  // let any further delivery happen
    EXPECT_EQ(recorder.count, 1);
}

TEST(CloseRequestWatcher, PreviousHandlersComeBackAndOnlyOneWatcherOwnsTheSignals) {
    struct sigaction before {};
    sigaction(SIGTERM, nullptr, &before);
    {
        CloseRequestWatcher first;
        EXPECT_TRUE(first.IsWatchingSignals());
        CloseRequestWatcher second;
        EXPECT_FALSE(second.IsWatchingSignals());
        struct sigaction during {};
        sigaction(SIGTERM, nullptr, &during);
        EXPECT_NE(during.sa_handler, before.sa_handler);
    }
    struct sigaction after {};
    sigaction(SIGTERM, nullptr, &after);
    EXPECT_EQ(after.sa_handler, before.sa_handler);
    CloseRequestWatcher later;
    EXPECT_TRUE(later.IsWatchingSignals());
}

}  // namespace
