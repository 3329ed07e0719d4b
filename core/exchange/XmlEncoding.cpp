#include "core/exchange/XmlEncoding.h"

#include <algorithm>

#include "core/exchange/LanguageCode.h"
#include "util/Utf8Sequence.h"

namespace {

// Converts UTF-16 (big- or little-endian, no byte-order mark) to UTF-8; false on a lone
// surrogate or an odd byte count.
bool Utf16ToUtf8(std::string_view bytes, bool bigEndian, std::string& out) {
    if (bytes.size() % 2 != 0) {
        return false;
    }
    out.clear();
    out.reserve(bytes.size() / 2 * 3 / 2);
    const auto unitAt = [&](size_t i) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    };
    for (size_t i = 0; i < bytes.size(); i += 2) {
        const char16_t unit = unitAt(i);
        if (gbk::codec::IsLowSurrogate(unit)) {
            return false;
        }
        if (!gbk::codec::IsHighSurrogate(unit)) {
            gbk::codec::AppendUtf8(out, unit);
            continue;
        }
        if (i + 3 >= bytes.size() || !gbk::codec::IsLowSurrogate(unitAt(i + 2))) {
            return false;
        }
        const char16_t low = unitAt(i + 2);
        gbk::codec::AppendUtf8(out, 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
    }
    return true;
}

// The encoding the XML declaration names, in lower case; empty when it names none.
std::string DeclaredEncoding(std::string_view text) {
    if (text.substr(0, 5) != "<?xml") {
        return {};
    }
    const std::string_view declaration = text.substr(0, text.find("?>"));
    const size_t key = declaration.find("encoding");
    if (key == std::string_view::npos) {
        return {};
    }
    const size_t quote = declaration.find_first_of("\"'", key);
    if (quote == std::string_view::npos) {
        return {};
    }
    const size_t end = declaration.find(declaration[quote], quote + 1);
    return NormalizedLanguageCode(declaration.substr(quote + 1, end - quote - 1));
}

}  // namespace

bool XmlTextAsUtf8(std::string_view bytes, std::string& converted, std::string_view& text,
                   std::string& problem) {
    const auto startsWith = [&bytes](std::string_view prefix) {
        return bytes.substr(0, prefix.size()) == prefix;
    };
    const bool littleBom = startsWith("\xFF\xFE");
    const bool bigBom = startsWith("\xFE\xFF");
    const bool little = littleBom || startsWith(std::string_view("<\0?\0", 4));
    const bool big = bigBom || startsWith(std::string_view("\0<\0?", 4));
    if (little || big) {
        if (!Utf16ToUtf8(bytes.substr(littleBom || bigBom ? 2 : 0), big, converted)) {
            problem = "the file is not valid UTF-16";
            return false;
        }
        text = converted;
    } else {
        text = startsWith("\xEF\xBB\xBF") ? bytes.substr(3) : bytes;
    }
    // The byte-order mark (or the UTF-16 form of "<?xml") decides; a declaration may still
    // name an encoding that is not Unicode, whose characters beyond ASCII would be misread.
    const std::string encoding = DeclaredEncoding(text);
    const bool unicode = encoding.empty() || encoding.rfind("utf", 0) == 0 ||
                         encoding == "us-ascii" || encoding == "ascii";
    const bool ascii = std::all_of(text.begin(), text.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!unicode && !ascii) {
        problem = "the file declares the encoding " + encoding + "; only UTF-8 and UTF-16 are read";
        return false;
    }
    return true;
}
