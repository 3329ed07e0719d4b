#pragma once

// The block of letter buttons shared by the main and the data configuration window: ids 1032 to
// 1043 are "A" to "L" in the upper row, 1044 to 1055 "N" to "Y" in the lower row, 1056 "M" and
// 1057 "Z" close the rows.
namespace letter_ids {

constexpr int kFirstUpper = 1032;  // "A"; "A".."L" follow
constexpr int kFirstLower = 1044;  // "N"; "N".."Y" follow
constexpr int kLetterM = 1056;
constexpr int kLetterZ = 1057;
constexpr int kFirst = kFirstUpper;
constexpr int kLast = kLetterZ;

// The capital letter of letter button `id`; 0 for any other id.
constexpr char LetterOfButton(int id) {
    if (id >= kFirstUpper && id < kFirstUpper + 12) {
        return static_cast<char>('A' + (id - kFirstUpper));
    }
    if (id >= kFirstLower && id < kFirstLower + 12) {
        return static_cast<char>('N' + (id - kFirstLower));
    }
    if (id == kLetterM) {
        return 'M';
    }
    return id == kLetterZ ? 'Z' : '\0';
}

}  // namespace letter_ids
