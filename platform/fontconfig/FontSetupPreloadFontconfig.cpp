#include <fontconfig/fontconfig.h>

#include <system_error>

#include "platform/FontSetupPreload.h"

namespace platform {

FontSetupPreload::FontSetupPreload() {
    try {
        // The toolkit asks for the same configuration; fontconfig keeps the first one read.
        m_thread = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
        // No thread: the toolkit reads the configuration itself.
    }
}

FontSetupPreload::~FontSetupPreload() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

}  // namespace platform
