#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "core/DataLocation.h"

// The seven user settings, stored in "Termix.CConfGlobal.cfg" next to the executable under the
// members' own names. Switches are "Yes"/"No" and on only when exactly "Yes"; the hotkey is a
// decimal number (modifiers << 16 | virtual-key code).
class CConfGlobal {
public:
    static constexpr const char* kFileSuffix = datafile::kSettingsSuffix;

    // The values the settings dialog edits, in the order they are applied.
    struct Values {
        bool startupWindowHide = false;
        bool exitOrHide = false;
        bool escExitOrHide = false;
        bool startupSearchTermB = false;
        std::string startupSearchTermS;
        long hotkey = 0;
        bool searchedHistorySaved = false;
    };
    // Runs the settings dialog on `current`; returns true and fills `result` when the user saved.
    using DialogRunner = std::function<bool(const Values& current, Values& result)>;

    // Settings on the file at `path`; loads at once (and writes the file back).
    explicit CConfGlobal(std::filesystem::path path);
    virtual ~CConfGlobal() = default;
    CConfGlobal(const CConfGlobal&) = delete;
    CConfGlobal& operator=(const CConfGlobal&) = delete;

    static std::filesystem::path DefaultPath();
    const std::filesystem::path& Path() const { return m_path; }

    // Reads the file (a file that exists but cannot be read raises the read exception) and
    // writes it back at once; a failed write-back is silent, since it loses nothing.
    void Load();
    void Save();

    bool GetStartupWindowHide() const { return IsOn(m_cs_startup_window_hide); }
    bool GetExitOrHide() const { return IsOn(m_cs_exit_or_hide); }
    bool GetEscExitOrHide() const { return IsOn(m_cs_esc_exit_or_hide); }
    bool GetStartupSearchTermB() const { return IsOn(m_cs_startup_search_term_b); }
    std::string GetStartupSearchTermS() const { return m_cs_startup_search_term_s; }
    long GetHotkey() const;
    bool GetSearchedHistorySaved() const { return IsOn(m_cs_searched_history_saved); }

    void SetStartupWindowHide(bool on) { m_cs_startup_window_hide = Switch(on); }
    void SetExitOrHide(bool on) { m_cs_exit_or_hide = Switch(on); }
    void SetEscExitOrHide(bool on) { m_cs_esc_exit_or_hide = Switch(on); }
    void SetStartupSearchTermB(bool on) { m_cs_startup_search_term_b = Switch(on); }
    void SetStartupSearchTermS(const std::string& text) { m_cs_startup_search_term_s = text; }
    void SetHotkey(long value);
    void SetSearchedHistorySaved(bool on) { m_cs_searched_history_saved = Switch(on); }

    Values GetValues() const;
    // Applies all seven writers in the dialog's order.
    void SetValues(const Values& values);

    // Runs the settings dialog through the installed runner; applies its values and returns true
    // when the user saved. Does not write the file.
    bool Configure();
    static void SetDialogRunner(DialogRunner runner);

    // The raw stored strings, named as their keys.
    std::string m_cs_startup_window_hide;
    std::string m_cs_exit_or_hide;
    std::string m_cs_esc_exit_or_hide;
    std::string m_cs_startup_search_term_b;
    std::string m_cs_startup_search_term_s;
    std::string m_cs_hotkey;
    std::string m_cs_searched_history_saved;

private:
    static bool IsOn(const std::string& value) { return value == "Yes"; }
    static std::string Switch(bool on) { return on ? "Yes" : "No"; }

    std::filesystem::path m_path;
};

// The program's settings, created and loaded by the first call (raises the read or write
// exception and creates nothing when the load fails; the next call tries again).
CConfGlobal& GetConfGlobal();
// Saves and destroys the program's settings. The object is gone even when the save raises.
void ReleaseConfGlobal();
// True while the program's settings object exists.
bool HasConfGlobal();
