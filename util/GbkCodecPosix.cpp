#include <iconv.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "util/GbkCodec.h"
#include "util/Utf8Sequence.h"

namespace gbk::codec {
namespace {

// One conversion descriptor per direction and thread: iconv descriptors are not thread-safe.
class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {
        if (m_cd == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " +
                                     to);
        }
    }
    ~Converter() { iconv_close(m_cd); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Appends `in` converted to `out`; on an invalid or unconvertible sequence calls
    // onError(remainingInput, output), which appends a replacement and returns how many input
    // bytes to skip.
    template <typename OnError>
    void Convert(std::string_view in, std::string& out, OnError onError) {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        out.reserve(out.size() + in.size() * 3 / 2 + 8);
        char buffer[4096];
        // iconv takes a non-const input pointer on glibc but never writes through it.
        char* inPtr = const_cast<char*>(in.data());
        size_t inLeft = in.size();
        while (inLeft > 0) {
            char* outPtr = buffer;
            size_t outLeft = sizeof buffer;
            const size_t rc = iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<size_t>(outPtr - buffer));
            if (rc != static_cast<size_t>(-1)) {
                continue;
            }
            if (errno == E2BIG) {
                continue;
            }
            // EILSEQ or EINVAL: replace and step over the bad sequence.
            size_t skip = onError(std::string_view(inPtr, inLeft), out);
            skip = std::min(std::max<size_t>(skip, 1), inLeft);
            inPtr += skip;
            inLeft -= skip;
            iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        }
    }

    template <typename OnError>
    std::string Convert(std::string_view in, OnError onError) {
        std::string out;
        Convert(in, out, onError);
        return out;
    }

private:
    iconv_t m_cd;
};

// char16_t strings in the machine's byte order.
constexpr const char* kUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

}  // namespace

void AppendUtf8ToGbk(std::string_view utf8, std::string& out, bool* lossless) {
    thread_local Converter converter("CP936", "UTF-8");
    bool clean = true;
    converter.Convert(utf8, out, [&clean](std::string_view rest, std::string& o) {
        clean = false;
        o.push_back('?');
        // Skip the whole UTF-8 character, but never past a byte that cannot continue it.
        size_t len = Utf8SequenceLength(static_cast<unsigned char>(rest[0]));
        size_t i = 1;
        while (i < len && i < rest.size() &&
               IsUtf8Continuation(static_cast<unsigned char>(rest[i]))) {
            ++i;
        }
        return i;
    });
    if (lossless != nullptr) {
        *lossless = clean;
    }
}

std::string Utf8ToGbk(std::string_view utf8, bool* lossless) {
    std::string out;
    AppendUtf8ToGbk(utf8, out, lossless);
    return out;
}

void AppendGbkToUtf8(std::string_view gbkText, std::string& out) {
    thread_local Converter converter("UTF-8", "CP936");
    converter.Convert(gbkText, out, [](std::string_view, std::string& o) {
        o.append("\xEF\xBF\xBD");
        return size_t{1};
    });
}

std::string GbkToUtf8(std::string_view gbkText) {
    std::string out;
    AppendGbkToUtf8(gbkText, out);
    return out;
}

std::string Utf16ToGbk(std::u16string_view utf16, bool* lossless) {
    thread_local Converter converter("CP936", kUtf16);
    bool clean = true;
    const std::string_view bytes(reinterpret_cast<const char*>(utf16.data()),
                                 utf16.size() * sizeof(char16_t));
    std::string out = converter.Convert(bytes, [&clean](std::string_view rest, std::string& o) {
        clean = false;
        o.push_back('?');
        // A whole surrogate pair is one character; anything else is one unit.
        char16_t units[2] = {0, 0};
        std::memcpy(units, rest.data(), std::min(rest.size(), sizeof units));
        const bool pair =
            rest.size() >= sizeof units && IsHighSurrogate(units[0]) && IsLowSurrogate(units[1]);
        return pair ? sizeof units : sizeof(char16_t);
    });
    if (lossless != nullptr) {
        *lossless = clean;
    }
    return out;
}

std::u16string GbkToUtf16(std::string_view gbkText) {
    thread_local Converter converter(kUtf16, "CP936");
    const std::string bytes = converter.Convert(gbkText, [](std::string_view, std::string& o) {
        const char16_t replacement = 0xFFFD;
        o.append(reinterpret_cast<const char*>(&replacement), sizeof replacement);
        return size_t{1};
    });
    std::u16string out(bytes.size() / sizeof(char16_t), u'\0');
    std::memcpy(out.data(), bytes.data(), out.size() * sizeof(char16_t));
    return out;
}

}  // namespace gbk::codec
