#include "ui/main/TrayCallback.h"

namespace tray {

TrayDecision DecideTrayAction(int iconId, int ownIconId, unsigned mouseMessage,
                              bool menuAvailable) {
    if (iconId != ownIconId || !menuAvailable) {
        return {0, TrayAction::kNone};
    }
    switch (mouseMessage) {
        case kWmRButtonUp:
            return {1, TrayAction::kPopupMenu};
        case kWmLButtonDblClk:
            return {1, TrayAction::kSendDefaultCommand};
        default:
            return {1, TrayAction::kNone};
    }
}

}  // namespace tray
