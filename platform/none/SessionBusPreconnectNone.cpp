#include "platform/SessionBusPreconnect.h"

namespace platform {

// No session bus on this system: nothing to connect to ahead.
SessionBusPreconnect::SessionBusPreconnect() = default;

SessionBusPreconnect::~SessionBusPreconnect() = default;

}  // namespace platform
