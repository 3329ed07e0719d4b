#include "ui/main/ExitSequence.h"

#include "core/ConfGlobal.h"
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
    stores.historySavedOn = [] {
        return HasConfGlobal() && GetConfGlobal().GetSearchedHistorySaved();
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
}
