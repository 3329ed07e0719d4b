#include "tools/render-dialogs/DialogGallery.h"

#include "resources/ResourceIds.h"
#include "ui/info/AboutDlg.h"
#include "ui/info/InfoDlg.h"
#include "util/GbkText.h"

namespace {

std::unique_ptr<CDialogBase> Layout(int id) {
    return std::make_unique<CDialogBase>(id);
}

std::unique_ptr<CDialogBase> Info(const char* modeUtf8) {
    auto dialog = std::make_unique<CInfoDlg>();
    dialog->SetMode(gbk::FromUtf8(modeUtf8));
    return dialog;
}

}  // namespace

std::vector<GalleryEntry> DialogGallery() {
    return {
        {QStringLiteral("100-about.png"), [] { return std::make_unique<CAboutDlg>(); }},
        {QStringLiteral("102-main.png"), [] { return Layout(res::kDialogMain); }},
        {QStringLiteral("103-dataconfig.png"), [] { return Layout(res::kDialogDataConfig); }},
        {QStringLiteral("104-termedit.png"), [] { return Layout(res::kDialogTermEdit); }},
        {QStringLiteral("105-settings.png"), [] { return Layout(res::kDialogSettings); }},
        {QStringLiteral("106-info-help.png"), [] { return Info("数据配置"); }},
        {QStringLiteral("106-info-about.png"), [] { return Info("关于"); }},
        {QStringLiteral("106-info-readme.png"), [] { return Info("readme.txt"); }},
    };
}
