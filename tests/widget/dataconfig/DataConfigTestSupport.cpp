#include "tests/widget/dataconfig/DataConfigTestSupport.h"

#include <QAbstractButton>
#include <QTest>

#include "controls/MessageBox.h"
#include "controls/SortListCtrl.h"
#include "core/Glossary.h"
#include "core/OperationLog.h"
#include "resources/DataConfigDialogIds.h"
#include "ui/dataconfig/DataConfigDlg.h"
#include "ui/dataconfig/DirectoryOpener.h"
#include "util/ExeDir.h"
#include "util/GbkText.h"

void DataConfigTest::SetUp() {
    ASSERT_TRUE(m_dir.isValid());
    SetExeDirForTesting(m_dir.path().toStdString() + "/");
    ReleaseGlossary();
    GetOperationLog().RemoveAll();
    SetClipboardSource(&m_clipboard);
    ResetClipboardTextForTesting();
    SetMessageBoxHookForTesting([this](const std::string& text) { m_messages.push_back(text); });
    SetDirectoryOpenerForTesting([](const QString&) {});
}

void DataConfigTest::TearDown() {
    SetMessageBoxHookForTesting(nullptr);
    SetDirectoryOpenerForTesting(nullptr);
    SetClipboardSource(nullptr);
    ReleaseGlossary();
    SetExeDirForTesting("");
}

void DataConfigTest::Seed(const std::vector<CTermRecord>& records) {
    for (const CTermRecord& record : records) {
        GetGlossary().Add(record);
    }
    GetGlossary().Save();
}

std::string DataConfigTest::GlossaryPath() const {
    return CGlossary::DefaultPath().string();
}

std::optional<CTermRecord> DataConfigTest::StoredInFile(const std::string& gbkTerm) const {
    const CGlossary fresh(GlossaryPath());
    CTermRecord record;
    if (!fresh.Get(gbkTerm, record)) {
        return std::nullopt;
    }
    return record;
}

void DataConfigTest::RunWindow(const std::function<void(CDataConfigDlg&)>& body) {
    CDataConfigDlg dlg;
    QTimer::singleShot(0, &dlg, [&dlg, &body] {
        body(dlg);
        if (dlg.IsRunning()) {
            dlg.EndDialog(CDialogBase::kIdCancel);
        }
    });
    dlg.DoModal();
}

std::vector<std::string> DataConfigTest::TakeMessages() {
    std::vector<std::string> utf8;
    for (const std::string& message : m_messages) {
        utf8.push_back(U(message));
    }
    m_messages.clear();
    return utf8;
}

std::string G(const std::string& utf8) {
    return gbk::FromUtf8(utf8);
}

std::string U(std::string_view gbkText) {
    return gbk::ToUtf8(gbkText);
}

void Click(CDialogBase& dlg, int id) {
    QWidget* button = dlg.GetControl(id);
    ASSERT_NE(button, nullptr) << id;
    QTest::mouseClick(button, Qt::LeftButton);
}

bool IsShownAndEnabled(CDialogBase& dlg, int id) {
    const QWidget* control = dlg.GetControl(id);
    return control->isVisibleTo(&dlg) && control->isEnabled();
}

void SetText(CDialogBase& dlg, int id, const std::string& utf8) {
    dlg.SetControlText(id, G(utf8));
}

std::string Text(const CDialogBase& dlg, int id) {
    return U(dlg.GetControlText(id));
}

void ClickRow(CSortListCtrl& list, int row, Qt::MouseButton button) {
    const QModelIndex index = list.model()->index(row, 0);
    list.scrollTo(index);
    QTest::mouseClick(list.viewport(), button, {}, list.visualRect(index).center());
}

void ClickBelowRows(CSortListCtrl& list, Qt::MouseButton button) {
    QTest::mouseClick(list.viewport(), button, {}, QPoint(5, list.viewport()->height() - 5));
}

std::vector<std::string> Rows(const CSortListCtrl& list) {
    std::vector<std::string> rows;
    for (int row = 0; row < list.Rows().GetRowCount(); ++row) {
        rows.push_back(U(list.Rows().CellText(row, 0)) + "|" + U(list.Rows().CellText(row, 1)));
    }
    return rows;
}

CSortListCtrl& TermList(CDialogBase& dlg) {
    return *dlg.Control<CSortListCtrl>(dataconfig_ids::kTermList);
}

CSortListCtrl& HistoryList(CDialogBase& dlg) {
    return *dlg.Control<CSortListCtrl>(dataconfig_ids::kHistoryList);
}
