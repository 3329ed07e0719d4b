#include "platform/WindowActivation.h"

namespace platform {

bool ActivateExistingWindow(const std::string&) {
    return false;
}

}  // namespace platform
