// Builds every dialog of the program offscreen and saves a picture of each, so the layouts can
// be looked at without a display: termix-render-dialogs OUTDIR
//
// The windows read their data from a scratch copy of the glossary and readme.txt next to this
// program, so nothing beside the program is changed.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "controls/MessageBox.h"
#include "tools/render-dialogs/DialogGallery.h"
#include "util/ExeDir.h"

namespace {

bool UseScratchDataDirectory(const QTemporaryDir& scratch) {
    if (!scratch.isValid()) {
        return false;
    }
    const QDir programDir(QCoreApplication::applicationDirPath());
    for (const char* name : {"Termix.CGlossary.termix", "readme.txt"}) {
        const QString source = programDir.filePath(QString::fromLatin1(name));
        if (QFile::exists(source)) {
            QFile::copy(source, QDir(scratch.path()).filePath(QString::fromLatin1(name)));
        }
    }
    SetExeDirForTesting(scratch.path().toStdString() + "/");
    return true;
}

}  // namespace

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
    const QTemporaryDir scratch;
    if (!UseScratchDataDirectory(scratch)) {
        std::fprintf(stderr, "cannot create a scratch data directory\n");
        return 1;
    }
    // Messages would wait for a click nobody gives; they go to the error stream instead.
    SetMessageBoxHookForTesting(
        [](const std::string& text) { std::fprintf(stderr, "message: %s\n", text.c_str()); });

    int failures = 0;
    for (const GalleryEntry& entry : DialogGallery()) {
        std::unique_ptr<CDialogBase> dialog = entry.make();
        QPixmap picture;
        // Run the dialog's own start-up and modal loop; take the picture once it is shown.
        QTimer::singleShot(0, dialog.get(), [&picture, &dialog, &entry] {
            if (entry.prepare) {
                entry.prepare(*dialog);
            }
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
