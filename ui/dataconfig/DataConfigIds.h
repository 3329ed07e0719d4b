#pragma once

// Control ids of the data configuration window (dialog 103).
namespace dataconfig_ids {

constexpr int kTitle = 1063;
constexpr int kPanelLabel = 1070;
constexpr int kPanelSwitch = 1068;
constexpr int kHomeLink = 1066;
constexpr int kCount = 1071;
constexpr int kTermList = 1021;
constexpr int kHistoryList = 1022;

constexpr int kToMain = 2;
constexpr int kOpenDirectory = 5;
constexpr int kHelp = 3;
constexpr int kAutoSplit = 1011;
constexpr int kClearInput = 4;
constexpr int kDelete = 1012;
constexpr int kUpdate = 1013;
constexpr int kAdd = 1010;

constexpr int kHistoryDelete = 1015;
constexpr int kHistoryUpdate = 1016;
constexpr int kHistoryAdd = 1014;

constexpr int kTermEdit = 1000;
constexpr int kMeaningEdit = 1018;
constexpr int kExplainEdit = 1006;

constexpr int kFirstLetter = 1032;  // "A"
constexpr int kLastLetter = 1057;   // "Z"
constexpr int kAll = 1058;
constexpr int kNonLetter = 1059;

// The capital letter of letter button `id`: 1032-1043 are A-L, 1044-1055 are N-Y, 1056 is M and
// 1057 is Z.
constexpr char LetterOfButton(int id) {
    if (id <= 1043) {
        return static_cast<char>('A' + (id - 1032));
    }
    if (id <= 1055) {
        return static_cast<char>('N' + (id - 1044));
    }
    return id == 1056 ? 'M' : 'Z';
}

}  // namespace dataconfig_ids
