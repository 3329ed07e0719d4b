#include "controls/MessageBox.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <memory>
#include <utility>

#include "controls/QtText.h"

namespace {

constexpr int kMargin = 16;  // pixels between the box's edge and its text or button

std::function<void(const std::string&)>& Hook() {
    static std::function<void(const std::string&)> hook;
    return hook;
}

}  // namespace

void ShowMessageBox(const std::string& gbkText, QWidget* parent) {
    if (Hook()) {
        Hook()(gbkText);
        return;
    }
    ShowMessageBoxText(qtext::ToQt(gbkText), parent);
}

namespace {

QMessageBox* NewMessageBox(const QString& text, QWidget* parent) {
    auto* box = new QMessageBox(parent);
    box->setIcon(QMessageBox::Warning);
    // The warning sign is named for screen readers, which otherwise find an unnamed picture.
    if (auto* icon = box->findChild<QLabel*>(QStringLiteral("qt_msgboxex_icon_label"))) {
        icon->setAccessibleName(qtext::FromUtf8("警告"));
    }
    box->setWindowTitle(QStringLiteral("Termix"));
    box->setTextFormat(Qt::PlainText);
    box->setText(text);
    box->setStandardButtons(QMessageBox::Ok);
    box->button(QMessageBox::Ok)->setText(qtext::FromUtf8("确定"));
    // Qt's box sets its text flush against the right edge; keep a margin on every side.
    if (QLayout* layout = box->layout()) {
        layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    }
    return box;
}

}  // namespace

void ShowMessageBoxText(const QString& text, QWidget* parent) {
    std::unique_ptr<QMessageBox> box(NewMessageBox(text, parent));
    if (parent != nullptr) {
        // Modal to its window only, so the tray icon keeps working.
        box->setWindowModality(Qt::WindowModal);
    }
    box->exec();
}

void ShowMessageBoxWithoutWaiting(const std::string& gbkText, QWidget* parent) {
    if (Hook()) {
        Hook()(gbkText);
        return;
    }
    QMessageBox* box = NewMessageBox(qtext::ToQt(gbkText), parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
}

void SetMessageBoxHookForTesting(std::function<void(const std::string& gbkText)> hook) {
    Hook() = std::move(hook);
}
