#include "resources/DialogBuilders.h"
#include "resources/ResourceIds.h"
#include "resources/TermEditDialogIds.h"

namespace res::detail {

using namespace termedit_ids;

// The term popup editor: only the meaning and the explanation take the focus by Tab. No label
// stands beside its fields, so the table names them.
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
            {kClose, Kind::kButton, "关    闭", 2, 2, 50, 14},
            {kDeleteButton, Kind::kButton, "删除术语", 52, 2, 50, 14},
            {kUpdateButton, Kind::kButton, "更新术语", 102, 2, 50, 14},
            {kTermEdit, Kind::kFramedEdit, "", 2, 18, 151, 14, kReadOnly | kAutoHScroll, "术语"},
            {kMeaningEdit, Kind::kFramedEdit, "", 2, 34, 151, 14, kTabStop | kAutoHScroll, "汉意"},
            {kExplainEdit, Kind::kEdit, "", 2, 49, 151, 62,
             kMultiLine | kVScroll | kWantReturn | kTabStop, "解释"},
        }};
}

}  // namespace res::detail
