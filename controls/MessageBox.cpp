#include "controls/MessageBox.h"

#include <QMessageBox>
#include <utility>

#include "controls/QtText.h"

namespace {

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
    QMessageBox box(parent);
    box.setIcon(QMessageBox::Warning);
    box.setWindowTitle(QStringLiteral("Termix"));
    box.setTextFormat(Qt::PlainText);
    box.setText(qtext::ToQt(gbkText));
    box.setStandardButtons(QMessageBox::Ok);
    if (parent != nullptr) {
        // Modal to its window only, so the tray icon keeps working.
        box.setWindowModality(Qt::WindowModal);
    }
    box.exec();
}

void SetMessageBoxHookForTesting(std::function<void(const std::string& gbkText)> hook) {
    Hook() = std::move(hook);
}
