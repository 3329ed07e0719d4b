#pragma once

#include <functional>
#include <string>

// The stores the exit sequence works on, as steps so tests can watch them.
struct ExitStores {
    std::function<bool()> historySavedOn;   // the history setting, read now
    std::function<void()> saveHistory;      // writes the search history file
    std::function<void()> releaseGlossary;  // drops the glossary without writing it
    std::function<void()> releaseSettings;  // writes the settings file and drops the settings
};

// The program's own stores (GetConfGlobal, GetSearchHistory, ReleaseGlossary,
// ReleaseConfGlobal). The history setting reads as off when the settings never loaded, and the
// history is not saved over a file it could not read.
ExitStores ProgramExitStores();

// Saves before the program ends: the history when its setting is on, then the glossary
// released, then the settings released. A store that raises the read or write exception hands
// its message (GBK) to `report` and the remaining steps still run, so a full disk never costs
// the settings because the history failed. Files that read as damaged during these steps are
// reported through `report` as well.
void RunSaveBeforeExit(const ExitStores& stores,
                       const std::function<void(const std::string& message)>& report);
