#pragma once

#include <functional>
#include <string>

class QString;
class QWidget;

// The program's one message box: the GBK text as given, an OK button, the application's name
// as caption.
void ShowMessageBox(const std::string& gbkText, QWidget* parent = nullptr);
// The same box for a text that is already Unicode; no GBK conversion, no test hook.
void ShowMessageBoxText(const QString& text, QWidget* parent = nullptr);
// The same box, not modal and returning at once, for a note that must not hold up what follows;
// it goes when it is closed.
void ShowMessageBoxWithoutWaiting(const std::string& gbkText, QWidget* parent = nullptr);

// Tests install a hook that receives each message instead of a box being shown; nullptr
// restores the real box.
void SetMessageBoxHookForTesting(std::function<void(const std::string& gbkText)> hook);
