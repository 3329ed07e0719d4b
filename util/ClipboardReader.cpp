#include "util/ClipboardReader.h"

namespace {
IClipboardSource* g_source = nullptr;
std::string g_lastText;  // the private copy of the last successful read
}  // namespace

void SetClipboardSource(IClipboardSource* source) {
    g_source = source;
}

std::string GetClipboardText() {
    if (g_source != nullptr) {
        if (std::optional<std::string> text = g_source->ReadText()) {
            const size_t nul = text->find('\0');
            if (nul != std::string::npos) {
                text->erase(nul);
            }
            g_lastText = std::move(*text);
        }
    }
    return g_lastText;
}

void ResetClipboardTextForTesting() {
    g_lastText.clear();
}
