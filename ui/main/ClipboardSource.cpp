#include "ui/main/ClipboardSource.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "controls/QtText.h"

std::optional<std::string> CQtClipboardSource::ReadText() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) {
        return std::nullopt;
    }
    const QMimeData* data = clipboard->mimeData(QClipboard::Clipboard);
    if (data == nullptr || !data->hasText()) {
        return std::nullopt;
    }
    return qtext::FromQt(data->text());
}
