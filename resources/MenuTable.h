#pragma once

#include <string>
#include <vector>

// Pop-up menus as plain data, like a resource script describes them.
namespace res {

struct MenuItem {
    int id;               // command id; 0 for a separator
    std::string caption;  // UTF-8, "&" marks the access key; empty for a separator
    bool separator = false;
    bool isDefault = false;  // shown in bold, chosen by a double-click on the tray icon
    bool disabled = false;
};

struct Menu {
    int id;
    std::string name;  // the pop-up's own name
    std::vector<MenuItem> items;
};

constexpr int kCmdTrayShow = 32771;
constexpr int kCmdTrayHide = 32772;
constexpr int kCmdTraySignature = 57664;

// The menu `id` (132, the tray menu); throws std::out_of_range otherwise.
const Menu& GetMenuTable(int id);

}  // namespace res
