#include "resources/MenuTable.h"

#include <stdexcept>

#include "resources/ResourceIds.h"

namespace res {

const Menu& GetMenuTable(int id) {
    static const Menu tray{
        kMenuTray,
        "sys tray",
        {
            {kCmdTrayShow, "&s 显示", false, true, false},
            {kCmdTrayHide, "&d 隐藏", false, false, false},
            {0, "", true, false, false},
            {kCmdTraySignature, "Termix v1.2 - Vantrel英汉术语词典", false, false, true},
        }};
    if (id != kMenuTray) {
        throw std::out_of_range("no menu " + std::to_string(id));
    }
    return tray;
}

}  // namespace res
