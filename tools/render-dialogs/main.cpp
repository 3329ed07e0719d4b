// Builds every dialog of the program offscreen and saves a picture of each, so the layouts can
// be looked at without a display: termix-render-dialogs OUTDIR
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <memory>

#include "tools/render-dialogs/DialogGallery.h"

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: termix-render-dialogs OUTDIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.exists() && !QDir().mkpath(out.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    int failures = 0;
    for (const GalleryEntry& entry : DialogGallery()) {
        std::unique_ptr<CDialogBase> dialog = entry.make();
        QPixmap picture;
        // Run the dialog's own start-up and modal loop; take the picture once it is shown.
        QTimer::singleShot(0, dialog.get(), [&picture, &dialog] {
            picture = dialog->grab();
            dialog->EndDialog(CDialogBase::kIdCancel);
        });
        dialog->DoModal();
        const QString path = out.filePath(entry.fileName);
        if (picture.isNull() || !picture.save(path)) {
            std::fprintf(stderr, "failed: %s\n", qPrintable(path));
            ++failures;
        } else {
            std::printf("%s\n", qPrintable(path));
        }
    }
    return failures == 0 ? 0 : 1;
}
