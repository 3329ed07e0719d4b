#pragma once

#include "resources/LetterButtonIds.h"

// The control ids of the main window (dialog 102).
namespace main_ids {

constexpr int kInput = 1000;
constexpr int kSearch = 1001;
constexpr int kResultList = 1002;
constexpr int kExplain = 1006;
constexpr int kDataConfigButton = 1007;
constexpr int kAboutButton = 1008;
constexpr int kTerm = 1009;
constexpr int kMeaning = 1010;
constexpr int kCopyText = 1011;
constexpr int kCopyButton = 1025;
constexpr int kSysConfigButton = 1031;
constexpr int kFirstLetterButton = letter_ids::kFirst;
constexpr int kLastLetterButton = letter_ids::kLast;
constexpr int kAllButton = 1058;
constexpr int kNonLetterButton = 1059;
constexpr int kExitButton = 1062;
constexpr int kSummary = 1064;
constexpr int kHomeLink = 1066;
constexpr int kHistoryButton = 1068;
constexpr int kCount = 1071;
constexpr int kDevLogButton = 1076;

}  // namespace main_ids
