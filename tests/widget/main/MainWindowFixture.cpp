#include "MainWindowFixture.h"

#include <cstdio>

#include "controls/MessageBox.h"
#include "core/Glossary.h"
#include "core/History.h"
#include "util/ExeDir.h"
#include "util/GbkText.h"

namespace {

TempDir& Dir() {
    static TempDir dir;
    return dir;
}

}  // namespace

std::vector<std::string>& MainWindowFixture::Messages() {
    static std::vector<std::string> messages;
    return messages;
}

void MainWindowFixture::SetUpProcess() {
    SetExeDirForTesting(Dir().path());
    SetMessageBoxHookForTesting([](const std::string& text) { Messages().push_back(text); });
    GetSearchHistory();  // the history keeps the data directory it is created in
}

void MainWindowFixture::Reset() {
    ReleaseGlossary();
    ReleaseConfGlobal();
    GetSearchHistory().RemoveAll();
    for (const char* suffix :
         {CGlossary::kFileSuffix, CHistroy::kFileSuffix, CConfGlobal::kFileSuffix}) {
        std::remove(DataFile(suffix).c_str());
    }
    Messages().clear();
}

std::string MainWindowFixture::DataFile(const char* suffix) {
    return Dir().file(std::string("Termix") + suffix);
}

std::string MainWindowFixture::ReadFile(const char* suffix) {
    return TempDir::ReadBytes(DataFile(suffix));
}

void MainWindowFixture::WriteGlossary(const std::vector<CTermRecord>& records) {
    CGlossary glossary(DataFile(CGlossary::kFileSuffix));
    for (const CTermRecord& record : records) {
        glossary.Add(record);
    }
    glossary.Save();
}

void MainWindowFixture::WriteStandardGlossary() {
    WriteGlossary({
        CTermRecord("use case", GBK("用例"), GBK("系统提供的一项功能。\r\n第二行")),
        CTermRecord("Use Case Diagram", GBK("用例图"), GBK("显示用例与参与者的图。")),
        CTermRecord("UML", GBK("统一建模语言"), ""),
        CTermRecord("model", GBK("模型"), ""),
        CTermRecord("Metaclass", GBK("元类"), ""),
        CTermRecord("1NF", GBK("第一范式"), ""),
    });
}

void MainWindowFixture::WriteSettings(const std::function<void(CConfGlobal&)>& edit) {
    CConfGlobal settings(DataFile(CConfGlobal::kFileSuffix));
    edit(settings);
    settings.Save();
}

void MainWindowFixture::WriteHistory(const std::vector<std::string>& texts) {
    CHistroy history(DataFile(CHistroy::kFileSuffix));
    for (const std::string& text : texts) {
        history.Add(text);
    }
    history.Save();
}

void MainWindowFixture::Run(CTermixDlg& dialog, const std::function<void()>& body) {
    QTimer::singleShot(0, &dialog, [&dialog, body] {
        body();
        if (!dialog.HasEnded()) {
            dialog.ExitProgram();
        }
    });
    dialog.DoModal();
}

std::vector<std::string> MainWindowFixture::Terms(CTermixDlg& d) {
    std::vector<std::string> terms;
    const CReportRowModel& rows = List(d)->Rows();
    for (int i = 0; i < rows.GetRowCount(); ++i) {
        terms.emplace_back(rows.CellText(i, 0));
    }
    return terms;
}

void MainWindowFixture::ClickRow(CTermixDlg& d, const std::string& term) {
    CSortListCtrl* list = List(d);
    const CReportRowModel& rows = list->Rows();
    for (int i = 0; i < rows.GetRowCount(); ++i) {
        if (rows.CellText(i, 0) == term) {
            list->scrollTo(list->model()->index(i, 0));
            const QRect cell = list->visualRect(list->model()->index(i, 0));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
            return;
        }
    }
    QFAIL(("no row " + term).c_str());
}

size_t CountContaining(const std::vector<std::string>& messages, const std::string& utf8) {
    size_t count = 0;
    for (const std::string& message : messages) {
        count += gbk::ToUtf8(message).find(utf8) != std::string::npos ? 1 : 0;
    }
    return count;
}
