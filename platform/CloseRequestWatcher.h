#pragma once

#include <QObject>

#include <memory>

// Turns a request from outside to end the program into one Qt signal on the UI thread:
// SIGTERM, SIGINT and SIGHUP (POSIX), and the end of the desktop session
// (QGuiApplication::commitDataRequest). The program answers it by saving and exiting, whatever
// the hide settings say.
//
// closeRequested() is emitted at most once per watcher: further requests arrive while the program
// is already ending and must not start a second save. Create one watcher, on the UI thread, after
// the QApplication; while it lives it owns the handlers of those signals (restored on
// destruction).
namespace platform {

class CloseRequestWatcher : public QObject {
    Q_OBJECT
public:
    explicit CloseRequestWatcher(QObject* parent = nullptr);
    ~CloseRequestWatcher() override;

    // False when the signal handlers could not be installed (the session end still works).
    bool IsWatchingSignals() const;

signals:
    void closeRequested();

private:
    void ConnectSessionEnd();
    void Deliver();

    struct Impl;
    std::unique_ptr<Impl> m_impl;
    bool m_delivered = false;
};

}  // namespace platform
