#include "platform/ActivationRequest.h"

namespace platform {

void RequestActivation(QWidget*) {}  // Qt's activateWindow is all there is

}  // namespace platform
