#include "ui/main/ExitSequence.h"

#include "core/ConfGlobal.h"
#include "core/DamagedFile.h"
#include "core/Glossary.h"
#include "core/History.h"
#include "core/PairFile.h"

namespace {

template <typename Step>
void Guarded(Step&& step, const std::function<void(const std::string&)>& report) {
    try {
        step();
    } catch (const Qm_conf_solitude_Exception& e) {
        report(e.m_message);
    }
}

}  // namespace

ExitStores ProgramExitStores() {
    ExitStores stores;
    // A history file that could not be read at start is left as it is.
    stores.historySavedOn = [] {
        return HasConfGlobal() && GetConfGlobal().GetSearchedHistorySaved() &&
               !GetSearchHistory().LoadFailed();
    };
    stores.saveHistory = [] { GetSearchHistory().Save(); };
    stores.releaseGlossary = [] { ReleaseGlossary(); };
    stores.releaseSettings = [] { ReleaseConfGlobal(); };
    return stores;
}

void RunSaveBeforeExit(const ExitStores& stores,
                       const std::function<void(const std::string& message)>& report) {
    Guarded(
        [&] {
            if (stores.historySavedOn()) {
                stores.saveHistory();
            }
        },
        report);
    Guarded(stores.releaseGlossary, report);
    Guarded(stores.releaseSettings, report);
    // A save reads its file first: one found damaged only now has just been copied aside.
    for (const DamagedFile& damaged : TakeDamagedFileReports()) {
        report(DamagedFileMessage(damaged));
    }
}
