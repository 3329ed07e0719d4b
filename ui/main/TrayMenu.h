#pragma once

#include <memory>

#include "resources/MenuTable.h"

class QMenu;

namespace tray {

// The pop-up built from a menu table (resources/MenuTable.h): one action per item, in order; each
// action's data() holds its command id, the default item is bold, separators and disabled items
// as the table says. Item 0 is made the default whatever the table says, as the tray does before
// every pop-up.
std::unique_ptr<QMenu> BuildTrayMenu(const res::Menu& table);

}  // namespace tray
