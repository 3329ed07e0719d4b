#include "core/AutoSplit.h"

namespace {

using Pos = long long;

// Position of the first byte `c` at or after `from`; -1 when none or when `from` is past the
// text. "(", ")" and LF are never the trail byte of a GBK character, so a byte search is exact.
Pos FindByte(const std::string& text, char c, Pos from) {
    if (from < 0) {
        from = 0;
    }
    if (from >= static_cast<Pos>(text.size())) {
        return -1;
    }
    const size_t pos = text.find(c, static_cast<size_t>(from));
    return pos == std::string::npos ? -1 : static_cast<Pos>(pos);
}

std::string Left(const std::string& text, Pos n) {
    return n <= 0 ? std::string() : text.substr(0, static_cast<size_t>(n));
}

std::string Rest(const std::string& text, Pos p) {
    if (p <= 0) {
        return text;
    }
    return p >= static_cast<Pos>(text.size()) ? std::string() : text.substr(static_cast<size_t>(p));
}

std::string Between(const std::string& text, Pos p, Pos n) {
    if (n < 0 || p < 0 || p >= static_cast<Pos>(text.size())) {
        return {};
    }
    return text.substr(static_cast<size_t>(p), static_cast<size_t>(n));
}

bool IsBlank(char c) {
    return (c >= 0x09 && c <= 0x0D) || c == ' ';
}

std::string Trim(const std::string& text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && IsBlank(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

}  // namespace

SplitEntry SplitCopiedEntry(const std::string& text) {
    SplitEntry entry;
    const Pos open = FindByte(text, '(', 0);
    if (open > 0) {
        const Pos close = FindByte(text, ')', open + 1);
        const Pos lineEnd = FindByte(text, '\n', close + 1);
        const Pos nextLineEnd = FindByte(text, '\n', lineEnd + 1);
        entry.term = Trim(Left(text, open));
        entry.meaning = Trim(Between(text, open + 1, close - open - 1));
        entry.explanation = Trim(Rest(text, nextLineEnd + 1));
    } else {
        const Pos lineEnd = FindByte(text, '\n', 0);
        entry.term = Trim(Left(text, lineEnd));
        entry.meaning = Trim(Rest(text, lineEnd + 1));
    }
    return entry;
}
