#include "resources/AboutDialogIds.h"
#include "resources/DialogBuilders.h"
#include "resources/ResourceIds.h"
#include "resources/StringTable.h"

namespace res::detail {

// The about box behind the window menu's about entry.
Dialog MakeAboutDialog() {
    return Dialog{
        kDialogAbout,
        "关于 Termix",
        251,
        55,
        "宋体",
        9,
        kCaption | kSysMenu | kModalFrame,
        {
            {kNoId, Kind::kIcon, "", 11, 17, 21, 21, 0, kIconName},
            {about_ids::kVersion, Kind::kStatic, "Termix 1.2 版", 40, 10, 151, 8, kNoPrefix},
            {kNoId, Kind::kStatic, "Copyright (C) 2003 Termix 开发组", 40, 25, 172, 8},
            {about_ids::kOk, Kind::kPlainButton, "确定", 194, 7, 50, 14, kDefaultButton | kTabStop},
        }};
}

}  // namespace res::detail
