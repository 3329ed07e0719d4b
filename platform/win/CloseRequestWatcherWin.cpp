#include "platform/CloseRequestWatcher.h"

namespace platform {

// A window program on Windows is asked to end through its windows (WM_CLOSE, WM_ENDSESSION); Qt
// turns the session end into commitDataRequest, which is all there is to watch here.
struct CloseRequestWatcher::Impl {};

CloseRequestWatcher::CloseRequestWatcher(QObject* parent)
    : QObject(parent), m_impl(std::make_unique<Impl>()) {
    ConnectSessionEnd();
}

CloseRequestWatcher::~CloseRequestWatcher() = default;

bool CloseRequestWatcher::IsWatchingSignals() const {
    return false;
}

}  // namespace platform
