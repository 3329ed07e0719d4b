// Glossaries as other tools write them: TBX v2 and v3 with every English term of an entry, CSV
// found by its header names, tab files with and without a header. The fixtures follow the
// published descriptions of the formats (TBX: ISO 30042 and TBX-Basic; CSV: RFC 4180).
#include <gtest/gtest.h>

#include <algorithm>

#include "core/exchange/GlossaryExchange.h"
#include "util/GbkText.h"

namespace {

using glossary_exchange::Format;

// The records read, as "term|meaning|explanation" in UTF-8, in file order.
std::vector<std::string> Rows(const glossary_exchange::ReadResult& read) {
    std::vector<std::string> rows;
    for (const glossary_exchange::Entry& entry : read.entries) {
        rows.push_back(gbk::ToUtf8(entry.record.term) + "|" + gbk::ToUtf8(entry.record.meaning) +
                       "|" + gbk::ToUtf8(entry.record.explanation));
    }
    return rows;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& line : lines) {
        all += line + "\n";
    }
    return all;
}

// A TBX v2 termbase: a doctype naming the DTD, a schema processing instruction, comments,
// tig and ntig/termGrp, language codes in several spellings, both attributes for the language,
// definitions in a descripGrp and at entry level, a note, CDATA, character references (in text
// and in two attributes of one element),
// traditional Chinese beside simplified, and German.
const char kTermbaseV2[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<?xml-model href="TBXBasic.nvdl" type="application/xml"?>
<!DOCTYPE martif SYSTEM "TBXcoreStructV02.dtd">
<!-- a modelling termbase -->
<martif type="TBX-Basic-V1" xml:lang="en">
 <martifHeader><fileDesc><sourceDesc><p>modelling</p></sourceDesc></fileDesc></martifHeader>
 <text><body>
  <termEntry id="e1">
   <descrip type="subjectField">modelling</descrip>
   <langSet xml:lang="EN">
    <tig><term>use case</term><termNote type="partOfSpeech">noun</termNote></tig>
    <ntig><termGrp><term>UC</term></termGrp></ntig>
   </langSet>
   <langSet xml:lang="zh_CN">
    <descripGrp><descrip type="definition">系统&#x4E0E;参与者&#20043;间的交互</descrip></descripGrp>
    <tig><term>用例</term></tig><tig><term><![CDATA[用况]]></term></tig>
   </langSet>
   <langSet xml:lang="de"><tig><term>Anwendungsfall</term></tig></langSet>
  </termEntry>
  <termEntry id="e2">
   <descrip xml:lang="&#122;h" type="d&#x65;finition">对象的动作与反应</descrip>
   <langSet lang="en_GB"><tig><term>behaviour</term></tig></langSet>
   <langSet lang="en-US"><tig><term>behavior</term></tig></langSet>
   <langSet xml:lang="zh-TW"><tig><term>行為</term></tig></langSet>
   <langSet xml:lang="ZH-CN"><tig><term>行为</term></tig></langSet>
  </termEntry>
  <termEntry id="e3">
   <note>系统外的角色</note>
   <langSet xml:lang="en-US"><tig><term>actor</term></tig></langSet>
   <langSet xml:lang="zh-Hant"><tig><term>參與者</term></tig></langSet>
  </termEntry>
 </body></text>
</martif>
)";

const std::vector<std::string> kTermbaseRows = {
    "use case|用例；用况|系统与参与者之间的交互", "UC|用例；用况|系统与参与者之间的交互",
    "behaviour|行为|对象的动作与反应", "behavior|行为|对象的动作与反应",
    "actor|參與者|系统外的角色"};

std::string Utf16(std::string_view utf8, bool bigEndian, bool bom) {
    const std::u16string wide = [&] {
        std::u16string out;
        for (size_t i = 0; i < utf8.size();) {
            const auto lead = static_cast<unsigned char>(utf8[i]);
            const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
            char32_t cp = length == 1 ? lead : lead & (0x7F >> length);
            for (size_t k = 1; k < length; ++k) {
                cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
            }
            i += length;
            if (cp >= 0x10000) {
                out.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
                out.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
            } else {
                out.push_back(static_cast<char16_t>(cp));
            }
        }
        return out;
    }();
    std::string bytes;
    if (bom) {
        bytes += bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    }
    for (const char16_t unit : wide) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

TEST(TbxImport, AV2TermbaseGivesARecordForEveryEnglishTerm) {
    const glossary_exchange::ReadResult read = glossary_exchange::Read(Format::kTbx, kTermbaseV2);
    ASSERT_TRUE(read.errors.empty()) << read.errors.front();
    EXPECT_EQ(Rows(read), kTermbaseRows);
    EXPECT_EQ(Joined(read.notes),
              "terms in other languages not read: 1 (de 1)\n"
              "traditional Chinese terms passed over for the simplified Chinese of their "
              "entries: 1\n");
    EXPECT_EQ(read.ignoredElements, 2u);  // the subject field and the part of speech
    EXPECT_EQ(read.Place(2), "termEntry 2");
}

TEST(TbxImport, UnicodeEncodingsReadTheSameAndOthersAreRefused) {
    for (const bool bigEndian : {false, true}) {
        for (const bool bom : {true, false}) {
            const glossary_exchange::ReadResult read =
                glossary_exchange::Read(Format::kTbx, Utf16(kTermbaseV2, bigEndian, bom));
            ASSERT_TRUE(read.errors.empty()) << bigEndian << bom << read.errors.front();
            EXPECT_EQ(Rows(read), kTermbaseRows);
        }
    }
    EXPECT_EQ(
        Rows(glossary_exchange::Read(Format::kTbx, "\xEF\xBB\xBF" + std::string(kTermbaseV2))),
        kTermbaseRows);
    // A cut-off UTF-16 file, and Latin-1 with characters beyond ASCII.
    std::string cut = Utf16(kTermbaseV2, false, true);
    cut.pop_back();
    EXPECT_EQ(glossary_exchange::Read(Format::kTbx, cut).errors,
              std::vector<std::string>{"the file is not valid UTF-16"});
    std::string latin = kTermbaseV2;
    latin.replace(latin.find("UTF-8"), 5, "ISO-8859-1");
    ASSERT_EQ(glossary_exchange::Read(Format::kTbx, latin).errors.size(), 1u);
    EXPECT_TRUE(glossary_exchange::Read(Format::kTbx, latin).entries.empty());
}

TEST(TbxImport, EntitiesAreNeverExpanded) {
    const std::string declared =
        "<?xml version='1.0'?><!DOCTYPE martif [ <!ENTITY uc \"use case\"> ]>"
        "<martif><text><body><termEntry><langSet xml:lang='en'><tig><term>&uc;</term></tig>"
        "</langSet><langSet xml:lang='zh'><tig><term>用例</term></tig></langSet></termEntry>"
        "</body></text></martif>";
    glossary_exchange::ReadResult read = glossary_exchange::Read(Format::kTbx, declared);
    ASSERT_EQ(read.errors.size(), 1u);
    EXPECT_NE(read.errors[0].find("declares entities"), std::string::npos) << read.errors[0];
    EXPECT_TRUE(read.entries.empty());
    // Without the declaration, the reference stops reading where it stands.
    std::string referenced = declared;
    referenced.erase(referenced.find("<!DOCTYPE"),
                     referenced.find("<martif>") - referenced.find("<!DOCTYPE"));
    read = glossary_exchange::Read(Format::kTbx, referenced);
    ASSERT_EQ(read.errors.size(), 1u);
    EXPECT_EQ(read.errors[0].rfind("termEntry 1: the entity &uc; is not one XML predefines", 0), 0u)
        << read.errors[0];
    // A doctype with a subset that declares no entity, and an external DTD, are passed over.
    std::string subset = declared;
    subset.replace(subset.find("<!ENTITY"), subset.find("]>") - subset.find("<!ENTITY"),
                   "<!ATTLIST term id ID #IMPLIED> ");
    subset.replace(subset.find("&uc;"), 4, "use case");
    EXPECT_EQ(Rows(glossary_exchange::Read(Format::kTbx, subset)),
              std::vector<std::string>{"use case|用例|"});
}

TEST(TbxImport, TheRootElementDecidesAndEveryEntryIsChecked) {
    // A v3 file: conceptEntry, langSec, termSec; two English terms, a Chinese definition.
    const std::string v3 =
        "<tbx type='TBX-Basic' xml:lang='en'><text><body><conceptEntry id='c1'>"
        "<langSec xml:lang='en'><termSec><term>class</term></termSec>"
        "<termSec><term>classifier</term></termSec></langSec>"
        "<langSec xml:lang='zh-Hans'><descrip type='definition'>对象的模板</descrip>"
        "<termSec><term>类</term></termSec></langSec></conceptEntry></body></text></tbx>";
    glossary_exchange::ReadResult read = glossary_exchange::Read(Format::kTbxV2, v3);
    ASSERT_TRUE(read.errors.empty()) << read.errors.front();
    EXPECT_EQ(Rows(read),
              (std::vector<std::string>{"class|类|对象的模板", "classifier|类|对象的模板"}));
    // v2 elements under a v3 root are not entries, and an unknown root is named.
    EXPECT_EQ(glossary_exchange::Read(Format::kTbx, "<tbx><termEntry/></tbx>").errors,
              std::vector<std::string>{"the file holds no conceptEntry"});
    EXPECT_EQ(glossary_exchange::Read(Format::kTbx, "<glossary/>").errors,
              std::vector<std::string>{
                  "the root element is <glossary>, neither <martif> (TBX v2) nor <tbx> (TBX v3)"});
    // An entry without Chinese, one without English, and a term two entries share.
    const std::string gaps =
        "<martif><text><body>"
        "<termEntry><langSet xml:lang='en'><tig><term>node</term></tig></langSet>"
        "<langSet xml:lang='fr'><tig><term>nœud</term></tig></langSet></termEntry>"
        "<termEntry><langSet xml:lang='zh'><tig><term>节点</term></tig></langSet></termEntry>"
        "<termEntry><langSet xml:lang='en'><tig><term>port</term></tig></langSet>"
        "<langSet xml:lang='zh'><tig><term>端口</term></tig></langSet></termEntry>"
        "<termEntry><langSet xml:lang='en'><tig><term>port</term></tig></langSet>"
        "<langSet xml:lang='zh'><tig><term>港</term></tig></langSet></termEntry>"
        "</body></text></martif>";
    read = glossary_exchange::Read(Format::kTbx, gaps);
    EXPECT_EQ(Joined(read.errors),
              "termEntry 1: the entry has no Chinese term for \"node\"\n"
              "termEntry 2: the entry has no English term\n"
              "termEntry 4: the term \"port\" already stands in termEntry 3\n");
}

// What the exporters write is what translators' tools read: it must not drift.
TEST(TbxExport, BothVersionsWriteTheirDocumentedForm) {
    const std::vector<CTermRecord> records = {CTermRecord("A&B", GBK("甲"), GBK("说明\r\n二"))};
    std::string v3;
    std::string v2;
    std::string error;
    ASSERT_TRUE(
        glossary_exchange::Write(Format::kTbx, glossary_exchange::ViewsOf(records), v3, error));
    ASSERT_TRUE(
        glossary_exchange::Write(Format::kTbxV2, glossary_exchange::ViewsOf(records), v2, error));
    EXPECT_EQ(v3,
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<tbx type=\"TBX-Basic\" style=\"dca\" xml:lang=\"en\" "
              "xmlns=\"urn:iso:std:iso:30042:ed-2\">\n"
              "<tbxHeader><fileDesc><sourceDesc><p>Termix glossary</p></sourceDesc></fileDesc>"
              "</tbxHeader>\n<text><body>\n"
              "<conceptEntry id=\"c1\"><langSec xml:lang=\"en\"><termSec><term>A&amp;B</term>"
              "</termSec></langSec><langSec xml:lang=\"zh-CN\"><descrip type=\"definition\">"
              "说明&#13;\n二</descrip><termSec><term>甲</term></termSec></langSec></conceptEntry>\n"
              "</body></text>\n</tbx>\n");
    EXPECT_EQ(v2.substr(v2.find("<termEntry")),
              "<termEntry id=\"c1\"><langSet xml:lang=\"en\"><tig><term>A&amp;B</term></tig>"
              "</langSet><langSet xml:lang=\"zh-CN\"><descrip type=\"definition\">说明&#13;\n二"
              "</descrip><tig><term>甲</term></tig></langSet></termEntry>\n"
              "</body></text>\n</martif>\n");
}

struct HeaderCase {
    const char* text;
    std::vector<std::string> rows;
    const char* notes;
};

TEST(CsvImport, ColumnsAreFoundByTheirHeaderNames) {
    const HeaderCase cases[] = {
        {"English,Chinese\nActor,参与者\n", {"Actor|参与者|"}, ""},
        {"source;target;comment\nActor;参与者;一条备注\n", {"Actor|参与者|一条备注"}, ""},
        {"\xEF\xBB\xBF术语,汉意,解释\r\nActor,参与者,系统外的角色\r\n",
         {"Actor|参与者|系统外的角色"},
         ""},
        {"en-US\tzh-Hans\nActor\t参与者\n", {"Actor|参与者|"}, ""},
        {"ID,English_United_States,Chinese_PRC,Chinese_PRC_Def,Subject\n"
         "7,Actor,参与者,系统外的角色,UML\n",
         {"Actor|参与者|系统外的角色"},
         "columns passed over: ID, Subject\n"},
        // Traditional Chinese gives way to simplified; the definition follows the meaning's
        // script; an English definition is passed over.
        {"zh-TW,EN,ZH_CN,en_Def,zh-TW_Def,zh-CN_Def\n行為,behaviour,行为,what it "
         "does,行為說明,行为说明\n",
         {"behaviour|行为|行为说明"},
         "columns passed over: zh-TW, en_Def, zh-TW_Def\n"},
        // A definition before a note.
        {"term,meaning,note,definition\nActor,参与者,备注,定义\n",
         {"Actor|参与者|定义"},
         "columns passed over: note\n"},
    };
    for (const HeaderCase& c : cases) {
        const glossary_exchange::ReadResult read = glossary_exchange::Read(Format::kCsv, c.text);
        ASSERT_TRUE(read.errors.empty()) << c.text << read.errors.front();
        EXPECT_EQ(Rows(read), c.rows) << c.text;
        EXPECT_EQ(Joined(read.notes), c.notes) << c.text;
    }
}

TEST(CsvImport, ColumnsThatCannotBeToldApartAreRefusedWithTheNamesUnderstood) {
    for (const char* text : {"English,source,Chinese\nActor,Actor,参与者\n",
                             "ID,Word,Gloss\n1,Actor,参与者\n", "zh-CN,zh-Hans,en\na,b,c\n"}) {
        const glossary_exchange::ReadResult read = glossary_exchange::Read(Format::kCsv, text);
        ASSERT_EQ(read.errors.size(), 1u) << text;
        EXPECT_EQ(read.errors[0].rfind("record 0: ", 0), 0u);
        EXPECT_NE(read.errors[0].find("headers understood: the English term as en, en-US"),
                  std::string::npos)
            << read.errors[0];
        EXPECT_TRUE(read.entries.empty());
    }
    EXPECT_NE(glossary_exchange::Read(Format::kCsv, "English,source,Chinese\n")
                  .errors[0]
                  .find("\"English\" and \"source\" could both be the English term"),
              std::string::npos);
}

TEST(CsvImport, ColumnsNamedByPositionReadAnyHeader) {
    std::string problem;
    const std::optional<glossary_exchange::Columns> columns =
        glossary_exchange::ParseColumns("-,explanation,term,,meaning", problem);
    ASSERT_TRUE(columns) << problem;
    glossary_exchange::ReadOptions options;
    options.columns = columns;
    const glossary_exchange::ReadResult read = glossary_exchange::Read(
        Format::kCsv, "ID,Gloss,Word,Subject,Sense\n1,系统外的角色,Actor,UML,参与者\n", options);
    ASSERT_TRUE(read.errors.empty()) << read.errors.front();
    EXPECT_EQ(Rows(read), std::vector<std::string>{"Actor|参与者|系统外的角色"});
    EXPECT_EQ(glossary_exchange::Read(Format::kCsv, "a,b,c,d,e\nx,y\n", options).errors,
              std::vector<std::string>{"record 1: expected 5 fields, found 2"});
    EXPECT_EQ(glossary_exchange::Read(Format::kCsv, "a,b\nx,y\n", options).errors,
              std::vector<std::string>{"record 0: the header has 2 columns, --columns names 5"});
    for (const char* bad : {"term,term,meaning", "term", "meaning,term,id"}) {
        EXPECT_FALSE(glossary_exchange::ParseColumns(bad, problem)) << bad;
    }
}

TEST(TsvImport, AFirstLineThatIsNoHeaderIsARecord) {
    glossary_exchange::ReadResult read = glossary_exchange::Read(
        Format::kTsv,
        "Actor\t参与者\nUML\t统一建模语言\t第一行\\n第二行\r\n\nbad\tline\twith\tfour\n");
    EXPECT_EQ(Rows(read),
              (std::vector<std::string>{"Actor|参与者|", "UML|统一建模语言|第一行\r\n第二行"}));
    EXPECT_EQ(read.errors,
              std::vector<std::string>{"line 4: expected 2 or 3 tab-separated fields, found 4"});
    // A header that names its columns is one, and its width is every line's.
    read = glossary_exchange::Read(
        Format::kTsv, "ID\tChinese\tEnglish\n1\t参与者\tActor\n2\t用例\tuse case\tx\n");
    EXPECT_EQ(Rows(read), std::vector<std::string>{"Actor|参与者|"});
    EXPECT_EQ(read.errors,
              std::vector<std::string>{"line 3: expected 3 tab-separated fields, found 4"});
    EXPECT_EQ(Joined(read.notes), "columns passed over: ID\n");
}

}  // namespace
