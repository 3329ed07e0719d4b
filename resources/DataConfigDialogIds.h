#pragma once

#include "resources/LetterButtonIds.h"
#include "resources/ResourceIds.h"

// Control ids of the data configuration window (dialog 103).
namespace dataconfig_ids {

constexpr int kTitle = 1063;
constexpr int kPanelLabel = 1070;
constexpr int kPanelSwitch = 1068;
constexpr int kHomeLink = 1066;
constexpr int kCount = 1071;
constexpr int kTermList = 1021;
constexpr int kHistoryList = 1022;

constexpr int kToMain = res::kIdCancel;
constexpr int kOpenDirectory = 5;
constexpr int kHelp = 3;
constexpr int kAutoSplit = 1011;
constexpr int kClearInput = 4;
constexpr int kDelete = 1012;
constexpr int kUpdate = 1013;
constexpr int kAdd = 1010;

// The history panel's buttons, on the places of kDelete, kUpdate and kAdd.
constexpr int kHistoryDelete = 1015;
constexpr int kHistoryUpdate = 1016;
constexpr int kHistoryAdd = 1014;

constexpr int kTermEdit = 1000;
constexpr int kMeaningEdit = 1018;
constexpr int kExplainEdit = 1006;

constexpr int kFirstLetter = letter_ids::kFirst;
constexpr int kLastLetter = letter_ids::kLast;
constexpr int kAll = 1058;
constexpr int kNonLetter = 1059;

}  // namespace dataconfig_ids
