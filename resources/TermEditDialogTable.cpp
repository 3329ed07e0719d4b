#include "resources/DialogBuilders.h"
#include "resources/ResourceIds.h"

namespace res::detail {

// The term popup editor: only the meaning and the explanation take the focus by Tab.
Dialog MakeTermEditDialog() {
    return Dialog{
        kDialogTermEdit,
        "术语编辑",
        155,
        114,
        "新宋体",
        9,
        kModalFrame,
        {
            {kIdCancel, Kind::kButton, "关    闭", 2, 2, 50, 14},
            {1012, Kind::kButton, "删除术语", 52, 2, 50, 14},
            {1030, Kind::kButton, "更新术语", 102, 2, 50, 14},
            {1000, Kind::kFramedEdit, "", 2, 18, 151, 14, kReadOnly | kAutoHScroll},
            {1010, Kind::kFramedEdit, "", 2, 34, 151, 14, kTabStop | kAutoHScroll},
            {1006, Kind::kEdit, "", 2, 49, 151, 62, kMultiLine | kVScroll | kWantReturn | kTabStop},
        }};
}

}  // namespace res::detail
