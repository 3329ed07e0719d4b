#include "resources/DataConfigDialogIds.h"
#include "resources/DialogBuilders.h"
#include "resources/ResourceIds.h"
#include "resources/StringTable.h"

namespace res::detail {

using namespace dataconfig_ids;

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
            {kTitle, Kind::kStatic, "", 12, 2, 212, 8},
            {kNoId, Kind::kGroupBox, "", 3, 13, 370, 24},
            {kPanelLabel, Kind::kColorLabel, "", 10, 22, 142, 12, kCenter},
            {kPanelSwitch, Kind::kButton, "操作历史", 180, 20, 51, 13},
            {kHomeLink, Kind::kLink, std::string("欢迎访问 ") + kGlossarySiteAddress, 235, 22, 129,
             8},
            {kCount, Kind::kStatic, "", 2, 38, 157, 8, kCenter},
            {kTermList, Kind::kList, "", 3, 47, 157, 152, kSingleSel | kShowSelAlways, "术语列表"},
            {kHistoryList, Kind::kList, "", 3, 47, 157, 152, kSingleSel | kShowSelAlways,
             "操作历史列表"},
            {kToMain, Kind::kButton, "到主界面", 165, 48, 51, 14, kCenter},
            {kOpenDirectory, Kind::kButton, "打开目录", 217, 48, 51, 14, kCenter},
            {kHelp, Kind::kButton, "帮助信息", 269, 48, 51, 14, kCenter},
            {kAutoSplit, Kind::kButton, "自动分域", 321, 48, 51, 14, kCenter},
            {kClearInput, Kind::kButton, "清空输入", 165, 63, 51, 14, kCenter},
            {kDelete, Kind::kButton, "删除", 217, 63, 51, 14, kCenter},
            {kUpdate, Kind::kButton, "更新", 269, 63, 51, 14, kCenter},
            {kAdd, Kind::kButton, "增加", 321, 63, 51, 14, kCenter},
            {kHistoryDelete, Kind::kButton, "删除", 217, 63, 51, 14, kCenter},
            {kHistoryUpdate, Kind::kButton, "更新", 269, 63, 51, 14, kCenter},
            {kHistoryAdd, Kind::kButton, "增加", 321, 63, 51, 14, kCenter},
            {kNoId, Kind::kGroupBox, "", 165, 76, 207, 123},
            {kNoId, Kind::kStatic, "术语:", 171, 86, 20, 8},
            {kTermEdit, Kind::kFramedEdit, "", 193, 84, 175, 12, kTabStop | kAutoHScroll},
            {kNoId, Kind::kStatic, "汉意:", 171, 100, 20, 8},
            {kMeaningEdit, Kind::kFramedEdit, "", 193, 98, 175, 12, kTabStop | kAutoHScroll},
            {kNoId, Kind::kStatic, "解释:", 171, 142, 20, 8},
            {kExplainEdit, Kind::kEdit, "", 193, 112, 175, 84,
             kMultiLine | kVScroll | kWantReturn | kTabStop},
            {kAll, Kind::kButton, "All", 4, 205, 15, 28},
            {kNonLetter, Kind::kButton, "?", 150, 205, 9, 28},
            {kNoId, Kind::kBitmap, "", 165, 202, 207, 32, 0, kBannerName},
            {kNoId, Kind::kIcon, "", 350, 204, 20, 20, 0, kIconName},
        }};
    AppendLetterButtons(dialog.controls, 205);
    return dialog;
}

}  // namespace res::detail
