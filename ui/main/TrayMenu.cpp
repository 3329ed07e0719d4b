#include "ui/main/TrayMenu.h"

#include <QAction>
#include <QFont>
#include <QMenu>
#include <QString>

namespace tray {

std::unique_ptr<QMenu> BuildTrayMenu(const res::Menu& table) {
    auto menu = std::make_unique<QMenu>();
    menu->setTitle(QString::fromStdString(table.name));
    bool first = true;
    for (const res::MenuItem& item : table.items) {
        if (item.separator) {
            menu->addSeparator();
            first = false;
            continue;
        }
        QAction* action = menu->addAction(QString::fromStdString(item.caption));
        action->setData(item.id);
        action->setEnabled(!item.disabled);
        if (first) {
            // The tray makes item 0 the default before every pop-up: bold, and what a
            // double-click chooses.
            QFont font = action->font();
            font.setBold(true);
            action->setFont(font);
            menu->setDefaultAction(action);
        }
        first = false;
    }
    return menu;
}

}  // namespace tray
