#include "tools/render-dialogs/DialogGallery.h"

#include <QPushButton>

#include "core/ConfGlobal.h"
#include "core/TermRecord.h"
#include "platform/GlobalHotkey.h"
#include "resources/LetterButtonIds.h"
#include "resources/ResourceIds.h"
#include "ui/dataconfig/DataConfigDlg.h"
#include "ui/dataconfig/TermEditDlg.h"
#include "ui/info/AboutDlg.h"
#include "ui/info/InfoDlg.h"
#include "ui/main/TermixDlg.h"
#include "ui/settings/SysConfigDlg.h"
#include "util/GbkText.h"

namespace {

// The pictures need no desktop-wide hotkey: every combination is taken and none is grabbed.
class PictureHotkey : public platform::IGlobalHotkey {
public:
    platform::HotkeyRegistration Register(int /*id*/, unsigned /*modifiers*/,
                                          unsigned /*virtualKey*/) override {
        return platform::HotkeyRegistration::kRegistered;
    }
};

PictureHotkey& Hotkey() {
    static PictureHotkey hotkey;
    return hotkey;
}

std::unique_ptr<CDialogBase> Info(const char* modeUtf8) {
    auto dialog = std::make_unique<CInfoDlg>();
    dialog->SetMode(gbk::FromUtf8(modeUtf8));
    return dialog;
}

void Click(CDialogBase& dialog, int id) {
    if (auto* button = dialog.Control<QPushButton>(id)) {
        button->click();
    }
}

}  // namespace

std::vector<GalleryEntry> DialogGallery() {
    return {
        {QStringLiteral("100-about.png"), [] { return std::make_unique<CAboutDlg>(); }, nullptr},
        {QStringLiteral("102-main.png"), [] { return std::make_unique<CTermixDlg>(Hotkey()); },
         [](CDialogBase& dialog) {
             auto& main = static_cast<CTermixDlg&>(dialog);
             main.SearchKeyword("class");
         }},
        {QStringLiteral("103-dataconfig.png"), [] { return std::make_unique<CDataConfigDlg>(); },
         [](CDialogBase& dialog) {
             Click(dialog, letter_ids::kFirstUpper);
         }},  // the terms starting with "A"
        {QStringLiteral("104-termedit.png"),
         [] {
             auto editor = std::make_unique<CTermEditDlg>();
             editor->SetRecord(CTermRecord{"use case", gbk::FromUtf8("用例"),
                                           gbk::FromUtf8("系统与参与者之间的一次完整交互。")});
             return editor;
         },
         nullptr},
        {QStringLiteral("105-settings.png"),
         [] {
             CConfGlobal::Values values;
             values.startupSearchTermB = true;
             values.startupSearchTermS = "UML";
             values.hotkey = 196676;  // Ctrl+Alt+D
             return std::make_unique<CSysConfigDlg>(Hotkey(), values);
         },
         nullptr},
        {QStringLiteral("106-info-help.png"), [] { return Info("数据配置"); }, nullptr},
        {QStringLiteral("106-info-about.png"), [] { return Info("关于"); }, nullptr},
        {QStringLiteral("106-info-readme.png"), [] { return Info("readme.txt"); }, nullptr},
    };
}
