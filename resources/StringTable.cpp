#include "resources/StringTable.h"

#include <map>

#include "resources/ResourceIds.h"

namespace res {

std::string LoadString(int id) {
    static const std::map<int, std::string> table = {
        {kStringAboutMenu, "关于 Termix(&A)..."},
    };
    const auto it = table.find(id);
    return it == table.end() ? std::string() : it->second;
}

}  // namespace res
