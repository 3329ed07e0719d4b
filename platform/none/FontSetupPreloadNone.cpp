#include "platform/FontSetupPreload.h"

namespace platform {

// The system's fonts need no configuration read ahead.
FontSetupPreload::FontSetupPreload() = default;

FontSetupPreload::~FontSetupPreload() = default;

}  // namespace platform
