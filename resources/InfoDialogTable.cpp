#include "resources/DialogBuilders.h"
#include "resources/InfoDialogIds.h"
#include "resources/ResourceIds.h"

namespace res::detail {

// The resizable information window with its one list.
Dialog MakeInfoDialog() {
    return Dialog{kDialogInfo,
                  "Termix",
                  399,
                  300,
                  "宋体",
                  10,
                  kCaption | kSysMenu | kResizable | kMaximizeBox,
                  {
                      {info_ids::kList, Kind::kList, "", 7, 7, 385, 286,
                       kSingleSel | kShowSelAlways | kNoColumnHeader, "信息列表"},
                  }};
}

}  // namespace res::detail
