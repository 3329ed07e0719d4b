#include "core/exchange/HeaderColumns.h"

#include <algorithm>
#include <initializer_list>

namespace {

enum class Role { kNone, kTerm, kMeaning, kExplanation };

// What one header name says: its role and, among names of one role, its rank (higher wins).
struct Reading {
    Role role = Role::kNone;
    int rank = 0;
};

bool OneOf(std::string_view word, std::initializer_list<std::string_view> words) {
    return std::find(words.begin(), words.end(), word) != words.end();
}

bool IsEnglishWord(std::string_view w) {
    return OneOf(w, {"en", "eng", "english", "英文", "英语", "英", "source", "src", "term", "术语",
                     "英文术语", "词条"});
}
bool IsChineseWord(std::string_view w) {
    return OneOf(w, {"zh",       "zho",    "chi",     "chinese",     "中文",     "汉语",    "中",
                     "target",   "tgt",    "meaning", "translation", "汉意",     "含义",    "译文",
                     "中文术语", "中文名", "译名",    "翻译",        "繁体中文", "繁體中文"});
}
bool IsTraditionalMark(std::string_view w) {
    return OneOf(w, {"tw", "hk", "mo", "hant", "taiwan", "traditional", "hongkong", "繁体中文",
                     "繁體中文", "繁体", "繁體"});
}
bool IsDefinitionWord(std::string_view w) {
    return OneOf(w, {"def", "defs", "definition", "definitions", "explanation", "explanations",
                     "description", "descrip", "解释", "释义", "定义", "解釋", "釋義"});
}
bool IsNoteWord(std::string_view w) {
    return OneOf(w, {"note", "notes", "comment", "comments", "remark", "remarks", "备注", "注释",
                     "注解", "備註"});
}

// The words of a name: ASCII letters and digits in lower case, and runs of other characters
// (Chinese), split at spaces, "_", "-", brackets and other ASCII signs.
std::vector<std::string> Words(std::string_view name) {
    std::vector<std::string> words;
    std::string word;
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x80 || (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z')) {
            word.push_back(c);
        } else if (u >= 'A' && u <= 'Z') {
            word.push_back(static_cast<char>(u - 'A' + 'a'));
        } else if (!word.empty()) {
            words.push_back(std::move(word));
            word.clear();
        }
    }
    if (!word.empty()) {
        words.push_back(std::move(word));
    }
    return words;
}

// Ranks: of explanations, a definition of Chinese (5, or 4 for the other Chinese script than
// the meaning's), a definition of no language (3), a note of Chinese (2), a note (1); of
// meanings, simplified (2) before traditional (1).
Reading Read(std::string_view name, bool traditionalMeaning) {
    const std::vector<std::string> words = Words(name);
    if (words.empty()) {
        return {};
    }
    const auto any = [&words](bool (*test)(std::string_view)) {
        return std::any_of(words.begin(), words.end(),
                           [test](const std::string& w) { return test(w); });
    };
    const bool traditional = any(IsTraditionalMark);
    const bool definition = any(IsDefinitionWord);
    if (definition || any(IsNoteWord)) {
        // The first other word names its language: none, or Chinese.
        const auto language = std::find_if(words.begin(), words.end(), [](const std::string& w) {
            return !IsDefinitionWord(w) && !IsNoteWord(w);
        });
        if (language == words.end()) {
            return {Role::kExplanation, definition ? 3 : 1};
        }
        if (!IsChineseWord(*language)) {
            return {};  // a definition of another language
        }
        return {Role::kExplanation, definition ? (traditional == traditionalMeaning ? 5 : 4) : 2};
    }
    if (IsEnglishWord(words.front())) {
        return {Role::kTerm, 1};
    }
    if (IsChineseWord(words.front()) || (traditional && OneOf(words.front(), {"繁体", "繁體"}))) {
        return {Role::kMeaning, traditional ? 1 : 2};
    }
    return {};
}

const char kUnderstood[] =
    "headers understood: the English term as en, en-US, en_GB, English, English_United_States, "
    "source, term, 术语 or 英文; the Chinese meaning as zh, zh-CN, zh-Hans, zh-TW, Chinese, "
    "Chinese_PRC, target, meaning, translation, 汉意 or 中文; the explanation as explanation, "
    "definition, zh-CN_Def, Chinese_PRC_Def, note, comment, 解释, 定义 or 备注 (of Chinese or of "
    "no "
    "language); or name the columns by position with --columns term,meaning,explanation";

}  // namespace

HeaderColumns::HeaderColumns(const std::vector<std::string_view>& names) {
    std::vector<Reading> readings;
    for (const std::string_view name : names) {
        readings.push_back(Read(name, false));
    }
    // The meaning's script decides which Chinese definition ranks first.
    const bool simplifiedThere =
        std::any_of(readings.begin(), readings.end(),
                    [](const Reading& r) { return r.role == Role::kMeaning && r.rank == 2; });
    const bool traditionalMeaning = !simplifiedThere;
    for (size_t i = 0; i < names.size(); ++i) {
        readings[i] = Read(names[i], traditionalMeaning);
        m_namesAny = m_namesAny || readings[i].role != Role::kNone;
    }
    std::string clash;
    // The column of the highest rank in `role`; -1 when there is none or two share it.
    const auto pick = [&](Role role, const char* what) {
        int best = -1;
        int second = -1;
        for (size_t i = 0; i < readings.size(); ++i) {
            const int column = static_cast<int>(i);
            if (readings[i].role != role) {
                continue;
            }
            if (best < 0 || readings[i].rank > readings[static_cast<size_t>(best)].rank) {
                best = column;
                second = -1;
            } else if (readings[i].rank == readings[static_cast<size_t>(best)].rank && second < 0) {
                second = column;
            }
        }
        if (second >= 0) {
            if (clash.empty()) {
                // Appended piece by piece: GCC 12 warns wrongly about a chain of "+".
                clash.append("\"").append(names[static_cast<size_t>(best)]);
                clash.append("\" and \"").append(names[static_cast<size_t>(second)]);
                clash.append("\" could both be the ").append(what);
            }
            return -1;
        }
        return best;
    };
    m_columns.term = pick(Role::kTerm, "English term");
    m_columns.meaning = pick(Role::kMeaning, "Chinese meaning");
    m_columns.explanation = pick(Role::kExplanation, "explanation");
    if (!clash.empty()) {
        m_problem = "the columns cannot be told apart: " + clash;
    } else if (m_columns.term < 0 || m_columns.meaning < 0) {
        m_problem = std::string("no column is named as the ") +
                    (m_columns.term < 0 ? "English term" : "Chinese meaning");
    }
    if (!m_problem.empty()) {
        m_problem += "; " + std::string(kUnderstood);
        return;
    }
    for (size_t i = 0; i < names.size(); ++i) {
        const int column = static_cast<int>(i);
        if (column != m_columns.term && column != m_columns.meaning &&
            column != m_columns.explanation) {
            m_passedOver.emplace_back(names[i]);
        }
    }
}
