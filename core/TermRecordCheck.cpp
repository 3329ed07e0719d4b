#include "core/TermRecordCheck.h"

#include "core/ReportList.h"
#include "util/GbkText.h"

namespace {

using Field = TermRecordProblem::Field;

bool HoldsSeparator(std::string_view text) {
    return text.find(CTermRecord::kSeparator) != std::string_view::npos ||
           text.find(IReportList::kRowSeparator) != std::string_view::npos;
}

TermRecordProblem SeparatorProblem(Field field, const std::string& fieldName) {
    return {field, fieldName + GBK("中含有不能保存的控制字符(0x07 或 0x08)，请删除后再试!")};
}

}  // namespace

TermRecordProblem CheckTermRecord(const TermRecordView& record) {
    if (HoldsSeparator(record.term)) {
        return SeparatorProblem(Field::kTerm, GBK("术语"));
    }
    if (HoldsSeparator(record.meaning)) {
        return SeparatorProblem(Field::kMeaning, GBK("汉意"));
    }
    if (HoldsSeparator(record.explanation)) {
        return SeparatorProblem(Field::kExplanation, GBK("解释"));
    }
    // The text form is the three fields, each followed by one separator byte.
    const size_t fieldBytes =
        record.term.size() + record.meaning.size() + record.explanation.size();
    if (fieldBytes + 3 <= kMaxTermRecordText) {
        return {};
    }
    // Point the user at the longest field, where shortening helps most.
    Field longest = Field::kExplanation;
    if (record.term.size() > record.meaning.size() &&
        record.term.size() > record.explanation.size()) {
        longest = Field::kTerm;
    } else if (record.meaning.size() > record.explanation.size()) {
        longest = Field::kMeaning;
    }
    return {longest, GBK("术语记录太长，不能保存!\n\n术语、汉意和解释合计最多 ") +
                         std::to_string(kMaxTermRecordText - 3) +
                         GBK(" 个字节(一个汉字占 2 个字节)，现在是 ") + std::to_string(fieldBytes) +
                         GBK(" 个字节。")};
}
