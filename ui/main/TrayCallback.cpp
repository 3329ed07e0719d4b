#include "ui/main/TrayCallback.h"

namespace tray {

TrayAction DecideTrayAction(int iconId, int ownIconId, unsigned mouseMessage, bool menuAvailable) {
    if (iconId != ownIconId || !menuAvailable) {
        return TrayAction::kNone;
    }
    switch (mouseMessage) {
        case kWmRButtonUp:
            return TrayAction::kPopupMenu;
        case kWmLButtonDblClk:
            return TrayAction::kSendDefaultCommand;
        default:
            return TrayAction::kNone;
    }
}

}  // namespace tray
