#include <QApplication>
#include <exception>

#include "app/TermixApp.h"
#include "controls/MessageBox.h"
#include "core/DataLocation.h"
#include "core/Glossary.h"
#include "core/GlossaryPreload.h"
#include "core/PairFile.h"
#include "logging/LogCategories.h"
#include "platform/DisplayServer.h"
#include "platform/FontSetupPreload.h"

int main(int argc, char* argv[]) {
    // A second start only brings the running copy forward: it takes the single-instance marker
    // before anything else, and makes no folder and reads no file when another copy holds it.
    platform::CSingleInstance marker;
    if (!marker.TryAcquire(CTermixApp::kMutexName)) {
        platform::PreferX11OnWayland();
        QApplication application(argc, argv);
        CTermixApp theApp(marker);
        return theApp.Run();
    }
    // The font configuration is read while the toolkit starts.
    const platform::FontSetupPreload fonts;
    // An installed program first makes the user's folders and first glossary; when that fails,
    // the window says so when it prepares them again at its start.
    try {
        GetDataLocation().Prepare();
    } catch (const Qm_conf_solitude_Exception&) {
    }
    // Reading the glossary overlaps the toolkit's start-up; the window takes it at its glossary
    // step, as if it loaded it there.
    const GlossaryPreload glossary(CGlossary::DefaultPath());
    // Before the QApplication exists: the hotkey and the window lookup need X11.
    platform::PreferX11OnWayland();
    QApplication application(argc, argv);
    try {
        CTermixApp theApp(marker);
        return theApp.Run();
    } catch (const std::exception& error) {
        // Nothing else caught it: say what happened instead of ending silently.
        const QString what = QString::fromUtf8(error.what());
        qCCritical(lcUi) << "ended by an unexpected error:" << what;
        ShowMessageBoxText(QString::fromUtf8("Termix 因意外错误而结束:\n\n") + what);
        return 1;
    }
}
