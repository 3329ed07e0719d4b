#pragma once

#include <optional>
#include <string>

// Where GetClipboardText takes its text from. The window program installs one backed by the
// desktop clipboard; tests install their own.
class IClipboardSource {
public:
    virtual ~IClipboardSource() = default;
    // The clipboard's text as GBK bytes, or nothing when the clipboard holds no text.
    virtual std::optional<std::string> ReadText() = 0;
};

// Installs the source (not owned; nullptr removes it).
void SetClipboardSource(IClipboardSource* source);

// The clipboard's text up to its first NUL byte, or the text of the previous successful read
// when the clipboard now holds no text (empty when there was none in this run).
std::string GetClipboardText();

// Forgets the text of the previous read; for tests that need a fresh process state.
void ResetClipboardTextForTesting();
