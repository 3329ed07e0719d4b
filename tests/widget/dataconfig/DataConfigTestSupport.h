#pragma once

#include <gtest/gtest.h>

#include <QPoint>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/TermRecord.h"
#include "util/ClipboardReader.h"

class CDialogBase;
class CDataConfigDlg;
class CSortListCtrl;

// A clipboard whose text the test sets (GBK); nothing means "no text on the clipboard".
class FakeClipboard : public IClipboardSource {
public:
    std::optional<std::string> ReadText() override { return text; }
    std::optional<std::string> text;
};

// Every test gets a fresh executable directory with its own glossary, an empty operation log,
// its own clipboard and the message boxes captured instead of shown.
class DataConfigTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Stores the records in the glossary and writes its file.
    void Seed(const std::vector<CTermRecord>& records);
    std::string GlossaryPath() const;
    // The records of the glossary file as a fresh load reads them.
    std::optional<CTermRecord> StoredInFile(const std::string& gbkTerm) const;

    // Runs the window modally and calls `body` once it is shown; leaves it afterwards unless the
    // body closed it.
    void RunWindow(const std::function<void(CDataConfigDlg&)>& body);

    // The messages shown so far, as UTF-8; clears them.
    std::vector<std::string> TakeMessages();

    QTemporaryDir m_dir;
    FakeClipboard m_clipboard;
    std::vector<std::string> m_messages;  // GBK
};

// UTF-8 <-> GBK for readable tests.
std::string G(const std::string& utf8);
std::string U(std::string_view gbk);

// Driving controls as the user does.
void Click(CDialogBase& dlg, int id);
bool IsShownAndEnabled(CDialogBase& dlg, int id);
void SetText(CDialogBase& dlg, int id, const std::string& utf8);
std::string Text(const CDialogBase& dlg, int id);  // UTF-8
void ClickRow(CSortListCtrl& list, int row, Qt::MouseButton button = Qt::LeftButton);
void ClickBelowRows(CSortListCtrl& list, Qt::MouseButton button = Qt::LeftButton);
// "term|meaning" per row, UTF-8.
std::vector<std::string> Rows(const CSortListCtrl& list);
CSortListCtrl& TermList(CDialogBase& dlg);
CSortListCtrl& HistoryList(CDialogBase& dlg);

// Runs `action` on the first window of type T that opens as a child of `owner`, from inside its
// modal run. Returns a flag that tells whether it opened.
template <typename T>
std::shared_ptr<bool> WhenOpened(QWidget& owner, std::function<void(T&)> action) {
    auto opened = std::make_shared<bool>(false);
    QTimer::singleShot(0, &owner, [&owner, action, opened] {
        for (T* window : owner.findChildren<T*>()) {
            if (window->isVisible()) {
                *opened = true;
                action(*window);
                return;
            }
        }
    });
    return opened;
}
