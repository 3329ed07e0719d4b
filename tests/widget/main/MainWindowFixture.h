#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "FakeGlobalHotkey.h"
#include "controls/SortListCtrl.h"
#include "core/ConfGlobal.h"
#include "core/TermRecord.h"
#include "resources/MainDialogIds.h"
#include "tests/support/TempDir.h"
#include "ui/main/TermixDlg.h"

// The data directory, the message hook and the helpers every main window test uses. The stores
// keep the directory they first saw, so one directory serves the whole test run; each test starts
// with it empty and the stores released.
class MainWindowFixture {
public:
    static void SetUpProcess();
    // Empties the data directory, releases the stores and forgets the captured messages.
    static void Reset();

    static std::string DataFile(const char* suffix);
    static void WriteGlossary(const std::vector<CTermRecord>& records);
    // The fixture glossary: use case, Use Case Diagram, UML, model, Metaclass, 1NF.
    static void WriteStandardGlossary();
    static void WriteSettings(const std::function<void(CConfGlobal&)>& edit);
    static void WriteHistory(const std::vector<std::string>& texts);
    static std::string ReadFile(const char* suffix);

    // Runs `dialog` until it ends; `body` runs inside the run, and the window is exited
    // afterwards unless the body ended it.
    static void Run(CTermixDlg& dialog, const std::function<void()>& body);
    // Runs `body` once the next secondary window of type T is open (from inside a command
    // that opens it); `body` must close it.
    template <typename T>
    static void WhenOpen(const std::function<void(T&)>& body);

    static std::vector<std::string>& Messages();

    static QLineEdit* Input(CTermixDlg& d) { return d.Control<QLineEdit>(main_ids::kInput); }
    static CSortListCtrl* List(CTermixDlg& d) {
        return d.Control<CSortListCtrl>(main_ids::kResultList);
    }
    static QAbstractButton* Button(CTermixDlg& d, int id) { return d.Control<QAbstractButton>(id); }
    static std::string Text(CTermixDlg& d, int id) { return d.GetControlText(id); }
    static std::vector<std::string> Terms(CTermixDlg& d);
    static void ClickRow(CTermixDlg& d, const std::string& term);
};

template <typename T>
void MainWindowFixture::WhenOpen(const std::function<void(T&)>& body) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, body] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* window = qobject_cast<T*>(widget);
            if (window != nullptr && window->isVisible() && window->IsRunning()) {
                timer->stop();
                timer->deleteLater();
                body(*window);
                return;
            }
        }
    });
    timer->start();
}

// How many of `messages` (GBK) contain `utf8`.
size_t CountContaining(const std::vector<std::string>& messages, const std::string& utf8);
