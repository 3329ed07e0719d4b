#pragma once

#include "resources/DialogTable.h"

// The builders of the single dialog tables, one per file; GetDialogTable keeps the results.
namespace res::detail {

Dialog MakeAboutDialog();
Dialog MakeMainDialog();
Dialog MakeDataConfigDialog();
Dialog MakeTermEditDialog();
Dialog MakeSettingsDialog();
Dialog MakeInfoDialog();

// The block of letter buttons shared by the main and the data configuration window: ids 1032 to
// 1043 are "A" to "L" in the upper row, 1044 to 1055 "N" to "Y" in the lower row (14 units
// below), 1056 "M" and 1057 "Z" close the rows; the k-th button of a row stands at 20 + 10k.
void AppendLetterButtons(std::vector<Control>& controls, int top);

}  // namespace res::detail
