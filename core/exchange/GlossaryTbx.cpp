#include <map>

#include "core/exchange/GlossaryExchange.h"
#include "core/exchange/TbxEntry.h"
#include "core/exchange/XmlEncoding.h"
#include "core/exchange/XmlReader.h"

namespace glossary_exchange::detail {
namespace {

// XML 1.0 allows no control character but tab, line feed and carriage return.
bool IsXmlChar(unsigned char c) {
    return c >= 0x20 || c == '\t' || c == '\n' || c == '\r';
}

bool AppendEscaped(std::string& out, std::string_view text) {
    size_t run = 0;  // start of the bytes that need no escape
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const char* escaped = nullptr;
        switch (c) {
            case '&':
                escaped = "&amp;";
                break;
            case '<':
                escaped = "&lt;";
                break;
            case '>':
                escaped = "&gt;";
                break;
            case '"':
                escaped = "&quot;";
                break;
            case '\'':
                escaped = "&apos;";
                break;
            case '\r':
                escaped = "&#13;";  // a literal CR would become a LF in any XML reader
                break;
            default:
                if (!IsXmlChar(c)) {
                    return false;
                }
                continue;
        }
        out.append(text.substr(run, i - run)).append(escaped);
        run = i + 1;
    }
    out.append(text.substr(run));
    return true;
}

// How the two versions name their parts.
struct Vocabulary {
    std::string_view entry;     // termEntry, conceptEntry
    std::string_view language;  // langSet, langSec
};
constexpr Vocabulary kV2{"termEntry", "langSet"};
constexpr Vocabulary kV3{"conceptEntry", "langSec"};

// Elements that only hold others (or header text): passed through, not counted as ignored.
bool IsStructure(std::string_view name) {
    static constexpr std::string_view kStructure[] = {
        "martif", "martifHeader", "tbx",          "tbxHeader", "fileDesc",  "titleStmt",
        "title",  "sourceDesc",   "encodingDesc", "p",         "text",      "body",
        "tig",    "ntig",         "termGrp",      "termSec",   "descripGrp"};
    for (const std::string_view known : kStructure) {
        if (name == known) {
            return true;
        }
    }
    return false;
}

std::string_view LanguageAttribute(const XmlReader& reader) {
    const std::string_view lang = reader.Attribute("xml:lang");
    return lang.empty() ? reader.Attribute("lang") : lang;
}

}  // namespace

void ParseTbx(std::string_view bytes, ParseLog& log, const EntrySink& sink) {
    std::string converted;
    std::string_view text;
    std::string problem;
    log.unit = "termEntry";
    if (!XmlTextAsUtf8(bytes, converted, text, problem)) {
        log.errors.push_back(problem);
        return;
    }
    // Progress counts bytes of the file, also when it was converted from UTF-16.
    const double scale = text.size() == 0 ? 1.0 : double(bytes.size()) / double(text.size());
    XmlReader reader(text);
    const Vocabulary* vocabulary = nullptr;
    struct Open {
        std::string_view name;
        std::string lang;  // the language in force, inherited unless the element names one
    };
    std::vector<Open> open;
    TbxEntry entry;
    std::map<std::string, size_t> otherLanguages;
    size_t traditionalPassedOver = 0;
    bool inEntry = false;
    int languageDepth = 0;    // open langSet/langSec elements in the entry
    size_t capture = 0;       // the entry's text that text goes to, while captureDepth > 0
    size_t captureDepth = 0;  // open elements inside the captured one, itself included
    size_t ignoredDepth = 0;  // open elements inside one nobody reads, itself included
    int number = 0;
    const auto where = [&log, &number] { return log.unit + " " + std::to_string(number) + ": "; };
    while (true) {
        const XmlReader::Token token = reader.Next();
        if (token == XmlReader::Token::kError) {
            log.errors.push_back(where() + reader.Problem());
            return;
        }
        if (token == XmlReader::Token::kEof) {
            if (!open.empty()) {
                log.errors.push_back("the file ends inside <" + std::string(open.back().name) +
                                     ">");
            }
            if (number == 0 && log.errors.empty()) {
                log.errors.push_back("the file holds no " + log.unit);
            }
            break;
        }
        if (token == XmlReader::Token::kText) {
            if (captureDepth > 0) {
                entry.Text(capture).append(reader.Value());
            }
            continue;
        }
        if (token == XmlReader::Token::kEnd) {
            if (open.empty() || open.back().name != reader.Name()) {
                log.errors.push_back(where() + "</" + std::string(reader.Name()) +
                                     "> does not close the open element");
                return;
            }
            open.pop_back();
            if (captureDepth > 0) {
                --captureDepth;
            } else if (ignoredDepth > 0) {
                --ignoredDepth;
            } else if (reader.Name() == vocabulary->language) {
                --languageDepth;
            } else if (reader.Name() == vocabulary->entry) {
                inEntry = false;
                entry.Finish(static_cast<size_t>(double(reader.Position()) * scale), sink,
                             log.ignoredElements, otherLanguages, traditionalPassedOver);
            }
            continue;
        }
        // An element starts.
        const std::string_view name = reader.Name();
        const std::string_view ownCode = LanguageAttribute(reader);
        const bool ownLanguage = !ownCode.empty();
        open.push_back(
            Open{name, ownLanguage || open.empty() ? std::string(ownCode) : open.back().lang});
        const std::string& lang = open.back().lang;
        if (vocabulary == nullptr) {
            // The root element tells the version.
            if (name != "martif" && name != "tbx") {
                log.errors.push_back("the root element is <" + std::string(name) +
                                     ">, neither <martif> (TBX v2) nor <tbx> (TBX v3)");
                return;
            }
            vocabulary = name == "martif" ? &kV2 : &kV3;
            log.unit = vocabulary->entry;
        }
        if (captureDepth > 0) {
            ++captureDepth;  // inline markup inside a term, definition or note: its text counts
            continue;
        }
        if (ignoredDepth > 0) {
            ++ignoredDepth;
            ++log.ignoredElements;
            continue;
        }
        const bool definition = name == "descrip" && reader.Attribute("type") == "definition";
        if (inEntry && (name == "term" || definition || name == "note")) {
            const bool entryLevel = languageDepth == 0;
            if (name == "term" && entryLevel) {
                ++ignoredDepth;  // a term outside any language
                ++log.ignoredElements;
                continue;
            }
            const TbxEntry::Kind kind = name == "term" ? TbxEntry::Kind::kTerm
                                        : definition   ? TbxEntry::Kind::kDefinition
                                                       : TbxEntry::Kind::kNote;
            // At entry level only a language the text names itself counts: the root's is the
            // file's default, not the note's.
            const std::string& code = entryLevel && !ownLanguage ? std::string() : lang;
            capture =
                entry.Add(kind, LanguageOfCode(code), entryLevel, NormalizedLanguageCode(code));
            captureDepth = 1;
            continue;
        }
        if (name == vocabulary->entry && !inEntry) {
            inEntry = true;
            languageDepth = 0;
            entry.Start(++number);
            continue;
        }
        if (inEntry && name == vocabulary->language) {
            ++languageDepth;
            continue;
        }
        if (!IsStructure(name)) {
            ++ignoredDepth;
            ++log.ignoredElements;
        }
    }
    if (!otherLanguages.empty()) {
        size_t total = 0;
        std::string list;
        for (const auto& [code, count] : otherLanguages) {
            total += count;
            list.append(list.empty() ? "" : ", ").append(code + " " + std::to_string(count));
        }
        log.notes.push_back("terms in other languages not read: " + std::to_string(total) + " (" +
                            list + ")");
    }
    if (traditionalPassedOver > 0) {
        log.notes.push_back(
            "traditional Chinese terms passed over for the simplified Chinese of their entries: " +
            std::to_string(traditionalPassedOver));
    }
}

// One conceptEntry per line: the file stays readable and a third smaller than an indented one.
void BeginTbx(std::string& out) {
    out.append(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<tbx type=\"TBX-Basic\" style=\"dca\" xml:lang=\"en\" "
        "xmlns=\"urn:iso:std:iso:30042:ed-2\">\n"
        "<tbxHeader><fileDesc><sourceDesc><p>Termix glossary</p></sourceDesc></fileDesc>"
        "</tbxHeader>\n"
        "<text><body>\n");
}

bool AppendTbx(std::string& out, size_t id, std::string_view term, std::string_view meaning,
               std::string_view explanation) {
    out.append("<conceptEntry id=\"c").append(std::to_string(id)).append("\">");
    out.append("<langSec xml:lang=\"en\"><termSec><term>");
    bool ok = AppendEscaped(out, term);
    out.append("</term></termSec></langSec><langSec xml:lang=\"zh-CN\">");
    if (!explanation.empty()) {
        out.append("<descrip type=\"definition\">");
        ok = AppendEscaped(out, explanation) && ok;
        out.append("</descrip>");
    }
    out.append("<termSec><term>");
    ok = AppendEscaped(out, meaning) && ok;
    out.append("</term></termSec></langSec></conceptEntry>\n");
    return ok;
}

void EndTbx(std::string& out) {
    out.append("</body></text>\n</tbx>\n");
}

// TBX-Basic v2, as terminology tools that predate v3 read it: a doctype naming the TBX-Basic
// DTD (never needed to read the file), one termEntry per line, the definition before the term
// in the Chinese langSet as the DTD orders them.
void BeginTbxV2(std::string& out) {
    out.append(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!DOCTYPE martif SYSTEM \"TBXBasiccoreStructV02.dtd\">\n"
        "<martif type=\"TBX-Basic-V1\" xml:lang=\"en\">\n"
        "<martifHeader><fileDesc><sourceDesc><p>Termix glossary</p></sourceDesc></fileDesc>"
        "<encodingDesc><p type=\"XCSURI\">TBXBasicXCSV02.xcs</p></encodingDesc></martifHeader>\n"
        "<text><body>\n");
}

bool AppendTbxV2(std::string& out, size_t id, std::string_view term, std::string_view meaning,
                 std::string_view explanation) {
    out.append("<termEntry id=\"c").append(std::to_string(id)).append("\">");
    out.append("<langSet xml:lang=\"en\"><tig><term>");
    bool ok = AppendEscaped(out, term);
    out.append("</term></tig></langSet><langSet xml:lang=\"zh-CN\">");
    if (!explanation.empty()) {
        out.append("<descrip type=\"definition\">");
        ok = AppendEscaped(out, explanation) && ok;
        out.append("</descrip>");
    }
    out.append("<tig><term>");
    ok = AppendEscaped(out, meaning) && ok;
    out.append("</term></tig></langSet></termEntry>\n");
    return ok;
}

void EndTbxV2(std::string& out) {
    out.append("</body></text>\n</martif>\n");
}

}  // namespace glossary_exchange::detail
