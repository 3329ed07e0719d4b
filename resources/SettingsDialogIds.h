#pragma once

#include "resources/ResourceIds.h"

// Control ids of the settings dialog (dialog 105).
namespace settings_ids {

constexpr int kStartupHide = 1059;
constexpr int kCloseHides = 1060;
constexpr int kEscHides = 1061;
constexpr int kStartupSearch = 1062;
constexpr int kStartupTerm = 1065;
constexpr int kHotkeyInput = 1073;
constexpr int kAssignHotkey = 1074;
constexpr int kHistorySaved = 1075;
constexpr int kCancel = res::kIdCancel;
constexpr int kSave = res::kIdOk;

}  // namespace settings_ids
