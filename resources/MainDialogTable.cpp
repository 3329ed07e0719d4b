#include "resources/DialogBuilders.h"
#include "resources/MainDialogIds.h"
#include "resources/ResourceIds.h"
#include "resources/StringTable.h"

namespace res::detail {

using namespace main_ids;

// The main search window.
Dialog MakeMainDialog() {
    Dialog dialog{
        kDialogMain,
        "Termix",
        376,
        225,
        "宋体",
        9,
        kCaption | kSysMenu | kMinimizeBox | kAppWindow,
        {
            {kNoId, Kind::kGroupBox, "", 3, 0, 370, 24},
            {kNoId, Kind::kStatic, "输入:", 8, 9, 22, 8},
            {kInput, Kind::kFramedEdit, "", 31, 7, 111, 12, kTabStop | kAutoHScroll},
            {kSearch, Kind::kButton, "查找(Enter)", 143, 7, 51, 13},
            {kHistoryButton, Kind::kButton, "搜索历史", 195, 7, 37, 13},
            {kHomeLink, Kind::kLink, std::string("欢迎访问 ") + kGlossarySiteAddress, 235, 9, 129,
             8},
            {kCount, Kind::kStatic, "", 2, 25, 157, 8, kCenter},
            {kResultList, Kind::kList, "", 3, 34, 157, 153, kSingleSel | kShowSelAlways,
             "结果列表"},
            {kDataConfigButton, Kind::kButton, "数据配置", 165, 34, 39, 14},
            {kSysConfigButton, Kind::kButton, "系统配置", 206, 34, 37, 14},
            {kDevLogButton, Kind::kButton, "开发日志", 244, 34, 37, 14},
            {kAboutButton, Kind::kButton, "关于Termix", 282, 34, 45, 14},
            {kExitButton, Kind::kButton, "退出Termix", 327, 34, 45, 14, kCenter},
            {kSummary, Kind::kFramedEdit, "", 165, 49, 207, 18, kMultiLine | kReadOnly | kDisabled,
             "搜索摘要"},
            {kNoId, Kind::kGroupBox, "", 165, 64, 207, 123},
            {kNoId, Kind::kStatic, "术语:", 171, 74, 20, 8},
            {kTerm, Kind::kFramedEdit, "", 193, 72, 175, 12, kReadOnly | kDisabled},
            {kNoId, Kind::kStatic, "汉意:", 171, 88, 20, 8},
            {kMeaning, Kind::kFramedEdit, "", 193, 86, 175, 12},
            {kNoId, Kind::kStatic, "解释:", 171, 130, 20, 8},
            {kExplain, Kind::kEdit, "", 193, 100, 175, 69, kMultiLine | kVScroll | kWantReturn},
            {kCopyButton, Kind::kButton, "复制", 169, 169, 22, 14},
            {kCopyText, Kind::kFramedEdit, "", 193, 171, 175, 12, 0, "复制文本"},
            {kAllButton, Kind::kButton, "All", 4, 192, 15, 28},
            {kNonLetterButton, Kind::kButton, "?", 150, 192, 9, 28},
            {kNoId, Kind::kBitmap, "", 165, 189, 207, 32, 0, kBannerName},
            {kNoId, Kind::kIcon, "", 350, 191, 20, 20, 0, kIconName},
        }};
    AppendLetterButtons(dialog.controls, 192);
    return dialog;
}

}  // namespace res::detail
