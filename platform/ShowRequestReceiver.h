#pragma once

#include <QObject>

#include <memory>

class QWidget;

// The receiving side of ActivateExistingWindow: marks our main window as ours and turns a show
// request sent by a second copy into the Qt signal showRequested() on the UI thread. The main
// window answers it with ShowMainWindow(true).
//
// Usage (after the window's native window exists, see EnsureNativeWindow):
//   auto receiver = platform::CreateShowRequestReceiver();
//   receiver->Watch(this);
//   connect(receiver.get(), &platform::IShowRequestReceiver::showRequested, ...);
namespace platform {

class IShowRequestReceiver : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~IShowRequestReceiver() override = default;

    // Marks `window` (a top-level widget whose native window exists) as a receiver of show
    // requests. Can be called for several windows.
    virtual void Watch(QWidget* window) = 0;

signals:
    void showRequested();
};

// The backend for this platform. Never null.
std::unique_ptr<IShowRequestReceiver> CreateShowRequestReceiver(QObject* parent = nullptr);

}  // namespace platform
