// "自动分域": the copied glossary entry is cut into the three fields through the real button.
#include "core/Glossary.h"
#include "resources/DataConfigDialogIds.h"
#include "tests/widget/dataconfig/DataConfigTestSupport.h"
#include "ui/dataconfig/DataConfigDlg.h"

using namespace dataconfig_ids;

namespace {

struct SplitCase {
    std::string copied;  // UTF-8
    std::string term;
    std::string meaning;
    std::string explanation;  // as the multi-line field gives it back, with CR LF
};

}  // namespace

TEST_F(DataConfigTest, AutoSplitFillsTheFieldsFromTheClipboard) {
    const std::vector<SplitCase> cases = {
        {"Actor(参与者)\r\n \r\n解释1\r\n解释1.1", "Actor", "参与者", "解释1\r\n解释1.1"},
        {"Actor ( 参与者 )\r\n\r\n解释", "Actor", "参与者", "解释"},
        {"NT\r\n\r\nWindows NT", "NT", "Windows NT", ""},
        {"Actor(参与者) 参与者是…", "Actor", "参与者", "Actor(参与者) 参与者是…"},
        {"Actor(参与者)\r\n解释", "Actor", "参与者", "Actor(参与者)\r\n解释"},
        {"Actor(参与者", "Actor", "", "Actor(参与者"},
        {"Actor(参与者\r\nA\r\nB", "Actor", "", "B"},
        {"(参与者)Actor\r\n\r\n参与者", "(参与者)Actor", "参与者", ""},
        {"Actor", "", "Actor", ""},
        {"Actor（参与者）", "", "Actor（参与者）", ""},
        {"", "", "", ""},
    };
    RunWindow([&](CDataConfigDlg& dlg) {
        for (const SplitCase& c : cases) {
            SCOPED_TRACE(c.copied);
            SetText(dlg, kTermEdit, "typed");
            SetText(dlg, kExplainEdit, "typed");
            m_clipboard.text = G(c.copied);
            Click(dlg, kAutoSplit);
            EXPECT_EQ(Text(dlg, kTermEdit), c.term);
            EXPECT_EQ(Text(dlg, kMeaningEdit), c.meaning);
            EXPECT_EQ(Text(dlg, kExplainEdit), c.explanation);
        }
        EXPECT_EQ(dlg.focusWidget(), dlg.GetControl(kTermEdit));
        EXPECT_EQ(GetGlossary().GetCount(), 0);  // the split stores nothing
    });
}

TEST_F(DataConfigTest, AutoSplitWithoutClipboardTextReusesTheLastText) {
    RunWindow([&](CDataConfigDlg& dlg) {
        SetText(dlg, kTermEdit, "typed");
        Click(dlg, kAutoSplit);  // nothing was ever read: the fields are emptied
        EXPECT_EQ(Text(dlg, kTermEdit), "");

        m_clipboard.text = G("NT\r\n\r\nWindows NT");
        Click(dlg, kAutoSplit);
        m_clipboard.text.reset();
        SetText(dlg, kTermEdit, "typed");
        Click(dlg, kAutoSplit);
        EXPECT_EQ(Text(dlg, kTermEdit), "NT");
        EXPECT_EQ(Text(dlg, kMeaningEdit), "Windows NT");

        // The split entry is then added as typed.
        Click(dlg, kAdd);
        EXPECT_TRUE(GetGlossary().Exists("NT"));
    });
}
