#include "resources/DialogBuilders.h"
#include "resources/ResourceIds.h"
#include "resources/SettingsDialogIds.h"

namespace res::detail {

using namespace settings_ids;

// The settings dialog.
Dialog MakeSettingsDialog() {
    return Dialog{
        kDialogSettings,
        "系统配置",
        174,
        187,
        "宋体",
        9,
        kModalFrame,
        {
            {kNoId, Kind::kGroupBox, "启动时配置", 3, 4, 168, 42},
            {kStartupHide, Kind::kCheckBox, "启动时自动隐藏主界面", 9, 17, 96, 10, kTabStop},
            {kStartupSearch, Kind::kCheckBox, "启动时自动查找术语:", 9, 30, 92, 10, kTabStop},
            {kStartupTerm, Kind::kFramedEdit, "", 103, 29, 62, 12, kTabStop | kAutoHScroll,
             "启动时查找的术语"},
            {kNoId, Kind::kGroupBox, "退出时配置", 3, 52, 168, 42},
            {kCloseHides, Kind::kCheckBox, "点击关闭按钮时, 不退出, 只是隐藏程序", 9, 65, 160, 10,
             kTabStop},
            {kEscHides, Kind::kCheckBox, "按ESC键时, 不退出, 只是隐藏程序", 9, 78, 140, 10,
             kTabStop},
            {kNoId, Kind::kGroupBox, "热键配置", 4, 98, 168, 32},
            {kNoId, Kind::kStatic, "显示 Termix:", 9, 113, 49, 8},
            {kHotkeyInput, Kind::kHotkey, "", 60, 110, 79, 14, kBorder | kTabStop},
            {kAssignHotkey, Kind::kButton, "指定", 139, 110, 30, 14, kTabStop},
            {kNoId, Kind::kGroupBox, "搜索历史配置", 3, 134, 168, 32},
            {kHistorySaved, Kind::kCheckBox, "启动时载入/退出时保存 - 搜索历史记录", 9, 149, 160,
             10, kTabStop},
            {kCancel, Kind::kButton, "取消", 108, 170, 30, 14},
            {kSave, Kind::kButton, "保存", 139, 170, 30, 14},
        }};
}

}  // namespace res::detail
