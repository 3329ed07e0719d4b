#include "core/ConfGlobal.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <utility>

#include "core/DataLocation.h"
#include "core/PairFile.h"
#include "util/ExeDir.h"

namespace {

struct Key {
    const char* name;
    std::string CConfGlobal::*member;
};

// The seven keys in the order they are read and written.
const Key kKeys[] = {
    {"m_cs_startup_window_hide", &CConfGlobal::m_cs_startup_window_hide},
    {"m_cs_exit_or_hide", &CConfGlobal::m_cs_exit_or_hide},
    {"m_cs_esc_exit_or_hide", &CConfGlobal::m_cs_esc_exit_or_hide},
    {"m_cs_startup_search_term_b", &CConfGlobal::m_cs_startup_search_term_b},
    {"m_cs_startup_search_term_s", &CConfGlobal::m_cs_startup_search_term_s},
    {"m_cs_hotkey", &CConfGlobal::m_cs_hotkey},
    {"m_cs_searched_history_saved", &CConfGlobal::m_cs_searched_history_saved},
};

CConfGlobal::DialogRunner& Runner() {
    static CConfGlobal::DialogRunner runner;
    return runner;
}

}  // namespace

CConfGlobal::CConfGlobal(std::filesystem::path path) : m_path(std::move(path)) {
    Load();
}

std::filesystem::path CConfGlobal::DefaultPath() {
    return GetDataLocation().SettingsFile();
}

void CConfGlobal::Load() {
    Qm_conf_solitude_File file(m_path, "#", "\r\n");
    for (const Key& key : kKeys) {
        this->*key.member = file.Get(key.name);
    }
    // Write back at once: the file then holds all seven keys, with any others it had (unless it
    // does already, which spares the start a flush to the disk). A program folder the user
    // cannot write must not cost the settings just read.
    try {
        if (file.HoldsWhatCloseWrites()) {
            file.Discard();
        } else {
            file.Close();
        }
    } catch (const Qm_conf_solitude_Exception&) {
    }
}

void CConfGlobal::Save() {
    Qm_conf_solitude_File file(m_path, "#", "\r\n");
    for (const Key& key : kKeys) {
        file.Set(key.name, this->*key.member);
    }
    file.Close();
}

long CConfGlobal::GetHotkey() const {
    return std::atol(m_cs_hotkey.c_str());
}

void CConfGlobal::SetHotkey(long value) {
    char text[32];
    std::snprintf(text, sizeof text, "%ld", value);
    m_cs_hotkey = text;
}

CConfGlobal::Values CConfGlobal::GetValues() const {
    Values values;
    values.startupWindowHide = GetStartupWindowHide();
    values.exitOrHide = GetExitOrHide();
    values.escExitOrHide = GetEscExitOrHide();
    values.startupSearchTermB = GetStartupSearchTermB();
    values.startupSearchTermS = GetStartupSearchTermS();
    values.hotkey = GetHotkey();
    values.searchedHistorySaved = GetSearchedHistorySaved();
    return values;
}

void CConfGlobal::SetValues(const Values& values) {
    SetStartupWindowHide(values.startupWindowHide);
    SetExitOrHide(values.exitOrHide);
    SetEscExitOrHide(values.escExitOrHide);
    SetStartupSearchTermB(values.startupSearchTermB);
    SetStartupSearchTermS(values.startupSearchTermS);
    SetHotkey(values.hotkey);
    SetSearchedHistorySaved(values.searchedHistorySaved);
}

bool CConfGlobal::Configure() {
    if (!Runner()) {
        return false;
    }
    Values result;
    if (!Runner()(GetValues(), result)) {
        return false;
    }
    SetValues(result);
    return true;
}

void CConfGlobal::SetDialogRunner(DialogRunner runner) {
    Runner() = std::move(runner);
}

namespace {
std::mutex g_confInstanceMutex;
std::unique_ptr<CConfGlobal> g_conf;
}  // namespace

CConfGlobal& GetConfGlobal() {
    std::lock_guard<std::mutex> lock(g_confInstanceMutex);
    if (!g_conf) {
        g_conf = std::make_unique<CConfGlobal>(CConfGlobal::DefaultPath());
    }
    return *g_conf;
}

void ReleaseConfGlobal() {
    std::unique_ptr<CConfGlobal> conf;
    {
        std::lock_guard<std::mutex> lock(g_confInstanceMutex);
        conf = std::move(g_conf);
    }
    if (conf) {
        conf->Save();
    }
}

bool HasConfGlobal() {
    std::lock_guard<std::mutex> lock(g_confInstanceMutex);
    return g_conf != nullptr;
}
