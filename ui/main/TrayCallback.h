#pragma once

// The decision of the tray icon's callback, kept free of any toolkit: for a callback carrying an
// icon identifier and a mouse message, what the icon does.
namespace tray {

// Mouse messages as the notification area reports them (Windows message numbers).
constexpr unsigned kWmMouseMove = 0x0200, kWmLButtonDown = 0x0201, kWmLButtonUp = 0x0202,
                   kWmLButtonDblClk = 0x0203, kWmRButtonDown = 0x0204, kWmRButtonUp = 0x0205,
                   kWmRButtonDblClk = 0x0206, kWmMButtonDown = 0x0207, kWmMButtonUp = 0x0208;

constexpr int kTrayIconId = 132;          // also the id of the tray menu
constexpr int kCommandShow = 32771;       // "&s 显示", the default item
constexpr int kCommandHide = 32772;       // "&d 隐藏"
constexpr int kCommandSignature = 57664;  // the disabled signature line

enum class TrayAction {
    kNone,                // nothing happens
    kPopupMenu,           // make item 0 the default, show the menu at the cursor
    kSendDefaultCommand,  // send the owner the command of item 0 (show)
};

// `iconId` is the identifier in the callback, `ownIconId` the icon's own, `menuAvailable` whether
// its menu could be loaded (and has a first pop-up). Nothing happens for another icon or without
// the menu.
TrayAction DecideTrayAction(int iconId, int ownIconId, unsigned mouseMessage, bool menuAvailable);

}  // namespace tray
