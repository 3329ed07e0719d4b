#pragma once

#include <string>

#include "core/TermRecord.h"

// The check every editing window runs before it stores a term record: a record must read back
// from the glossary file exactly as it was stored.
struct TermRecordProblem {
    enum class Field { kNone, kTerm, kMeaning, kExplanation };

    Field field = Field::kNone;  // the field the user should correct
    std::string message;         // GBK text for the message box; empty when the record is fine

    bool ok() const { return field == Field::kNone; }
};

// The longest text form a record may have: the file stores lengths with four digits.
constexpr size_t kMaxTermRecordText = 9999;

// Refuses a record holding a separator byte (0x07 or 0x08) in one of its fields, or whose text
// form would be longer than kMaxTermRecordText bytes.
TermRecordProblem CheckTermRecord(const TermRecordView& record);
inline TermRecordProblem CheckTermRecord(const CTermRecord& record) {
    return CheckTermRecord(record.View());
}
