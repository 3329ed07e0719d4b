#include "resources/DialogBuilders.h"
#include "resources/ResourceIds.h"
#include "resources/StringTable.h"

namespace res::detail {

// The data configuration window; the term list and the operation history list share a place,
// and so do the three action buttons of each panel.
Dialog MakeDataConfigDialog() {
    Dialog dialog{
        kDialogDataConfig,
        "数据配置",
        376,
        238,
        "宋体",
        9,
        kModalFrame,
        {
            {1063, Kind::kStatic, "", 12, 2, 212, 8},
            {kNoId, Kind::kGroupBox, "", 3, 13, 370, 24},
            {1070, Kind::kColorLabel, "", 10, 22, 142, 12, kCenter},
            {1068, Kind::kButton, "操作历史", 180, 20, 51, 13},
            {1066, Kind::kLink, std::string("欢迎访问 ") + kGlossarySiteAddress, 235, 22, 129, 8},
            {1071, Kind::kStatic, "", 2, 38, 157, 8, kCenter},
            {1021, Kind::kList, "", 3, 47, 157, 152, kSingleSel | kShowSelAlways},
            {1022, Kind::kList, "", 3, 47, 157, 152, kSingleSel | kShowSelAlways},
            {kIdCancel, Kind::kButton, "到主界面", 165, 48, 51, 14, kCenter},
            {5, Kind::kButton, "打开目录", 217, 48, 51, 14, kCenter},
            {3, Kind::kButton, "帮助信息", 269, 48, 51, 14, kCenter},
            {1011, Kind::kButton, "自动分域", 321, 48, 51, 14, kCenter},
            {4, Kind::kButton, "清空输入", 165, 63, 51, 14, kCenter},
            {1012, Kind::kButton, "删除", 217, 63, 51, 14, kCenter},
            {1013, Kind::kButton, "更新", 269, 63, 51, 14, kCenter},
            {1010, Kind::kButton, "增加", 321, 63, 51, 14, kCenter},
            {1015, Kind::kButton, "删除", 217, 63, 51, 14, kCenter},
            {1016, Kind::kButton, "更新", 269, 63, 51, 14, kCenter},
            {1014, Kind::kButton, "增加", 321, 63, 51, 14, kCenter},
            {kNoId, Kind::kGroupBox, "", 165, 76, 207, 123},
            {kNoId, Kind::kStatic, "术语:", 171, 86, 20, 8},
            {1000, Kind::kFramedEdit, "", 193, 84, 175, 12, kTabStop | kAutoHScroll},
            {kNoId, Kind::kStatic, "汉意:", 171, 100, 20, 8},
            {1018, Kind::kFramedEdit, "", 193, 98, 175, 12, kTabStop | kAutoHScroll},
            {kNoId, Kind::kStatic, "解释:", 171, 142, 20, 8},
            {1006, Kind::kEdit, "", 193, 112, 175, 84,
             kMultiLine | kVScroll | kWantReturn | kTabStop},
            {1058, Kind::kButton, "All", 4, 205, 15, 28},
            {1059, Kind::kButton, "?", 150, 205, 9, 28},
            {kNoId, Kind::kBitmap, "", 165, 202, 207, 32},
            {kNoId, Kind::kIcon, "", 350, 204, 20, 20},
        }};
    AppendLetterButtons(dialog.controls, 205);
    return dialog;
}

}  // namespace res::detail
