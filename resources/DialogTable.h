#pragma once

#include <string>
#include <vector>

// Declarative dialog layouts, one table per dialog, the way a resource script describes them:
// every control with its id, kind, caption, position and size in dialog units, and styles.
// Captions are UTF-8 here; the dialog base converts them.
namespace res {

constexpr int kNoId = -1;  // static items that no code refers to

enum class Kind {
    kStatic,       // text label
    kEdit,         // plain edit
    kFramedEdit,   // CFramedEdit
    kButton,       // CSkinButton
    kPlainButton,  // the platform's own push button (the about box)
    kCheckBox,
    kGroupBox,
    kList,        // CSortListCtrl
    kLink,        // CLinkLabel
    kColorLabel,  // CColorLabel
    kHotkey,      // hotkey input control
    kBitmap,      // static picture showing bitmap resource 130
    kIcon,        // static picture showing icon resource 128
};

// Control styles (bit set).
enum Style : unsigned {
    kTabStop = 1u << 0,
    kMultiLine = 1u << 1,
    kReadOnly = 1u << 2,
    kDisabled = 1u << 3,
    kVScroll = 1u << 4,
    kAutoHScroll = 1u << 5,
    kWantReturn = 1u << 6,
    kCenter = 1u << 7,
    kRight = 1u << 8,
    kBorder = 1u << 9,
    kNoColumnHeader = 1u << 10,
    kSingleSel = 1u << 11,
    kShowSelAlways = 1u << 12,
    kDefaultButton = 1u << 13,
    kHidden = 1u << 14,
    kSunken = 1u << 15,
    kNoWrap = 1u << 16,
    kNoPrefix = 1u << 17,  // "&" is shown as it is
};

// Dialog styles (bit set).
enum DialogStyle : unsigned {
    kCaption = 1u << 0,
    kSysMenu = 1u << 1,
    kMinimizeBox = 1u << 2,
    kModalFrame = 1u << 3,
    kAppWindow = 1u << 4,  // shown in the taskbar
    kResizable = 1u << 5,
    kMaximizeBox = 1u << 6,
};

// Whether the style bit set `style` holds `bit`.
constexpr bool HasStyle(unsigned style, unsigned bit) {
    return (style & bit) != 0;
}

struct Control {
    int id;
    Kind kind;
    std::string caption;  // UTF-8
    int x, y, w, h;       // dialog units
    unsigned style = 0;
    // What a screen reader calls the control (UTF-8) where no label beside it names it and it
    // shows no caption of its own (see AccessibleName).
    std::string name = {};
};

struct Dialog {
    int id;
    std::string title;  // UTF-8
    int w, h;           // dialog units
    std::string font;   // face name as the resource names it, e.g. "宋体"
    int pointSize;
    unsigned style;
    std::vector<Control> controls;
};

// The table of dialog `id` (100, 102, 103, 104, 105 or 106); throws std::out_of_range otherwise.
const Dialog& GetDialogTable(int id);

}  // namespace res
