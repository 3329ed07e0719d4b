#include <map>
#include <stdexcept>
#include <string>

#include "resources/DialogBuilders.h"
#include "resources/DialogTable.h"
#include "resources/LetterButtonIds.h"

namespace res {

namespace detail {

void AppendLetterButtons(std::vector<Control>& controls, int top) {
    for (int k = 0; k < 12; ++k) {
        controls.push_back(Control{letter_ids::kFirstUpper + k, Kind::kButton,
                                   std::string(1, static_cast<char>('A' + k)), 20 + 10 * k, top, 9,
                                   14});
    }
    controls.push_back(Control{letter_ids::kLetterM, Kind::kButton, "M", 140, top, 9, 14});
    for (int k = 0; k < 12; ++k) {
        controls.push_back(Control{letter_ids::kFirstLower + k, Kind::kButton,
                                   std::string(1, static_cast<char>('N' + k)), 20 + 10 * k,
                                   top + 14, 9, 14});
    }
    controls.push_back(Control{letter_ids::kLetterZ, Kind::kButton, "Z", 140, top + 14, 9, 14});
}

}  // namespace detail

const Dialog& GetDialogTable(int id) {
    static const std::map<int, Dialog> tables = [] {
        std::map<int, Dialog> all;
        for (Dialog dialog : {detail::MakeAboutDialog(), detail::MakeMainDialog(),
                              detail::MakeDataConfigDialog(), detail::MakeTermEditDialog(),
                              detail::MakeSettingsDialog(), detail::MakeInfoDialog()}) {
            const int key = dialog.id;
            all.emplace(key, std::move(dialog));
        }
        return all;
    }();
    const auto it = tables.find(id);
    if (it == tables.end()) {
        throw std::out_of_range("no dialog table " + std::to_string(id));
    }
    return it->second;
}

}  // namespace res
