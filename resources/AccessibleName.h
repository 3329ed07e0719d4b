#pragma once

#include <cstddef>
#include <string>

#include "resources/DialogTable.h"

namespace res {

// The name a screen reader announces for control `index` of `dialog` (UTF-8):
// - the control's own `name` when the table gives one;
// - for an edit field, list or hotkey control, the caption of the label just before it in the
//   table (the label beside it on screen), without its colon;
// - otherwise empty: buttons, check boxes and labels are named by the text they show.
std::string AccessibleName(const Dialog& dialog, std::size_t index);

// The index of the label that names control `index` (see AccessibleName), or kNoLabel.
constexpr std::size_t kNoLabel = static_cast<std::size_t>(-1);
std::size_t NamingLabel(const Dialog& dialog, std::size_t index);

}  // namespace res
