#pragma once

#include <optional>
#include <string>

#include "util/ClipboardReader.h"

// The desktop clipboard as the program's clipboard source: its plain text converted to GBK
// (characters GBK cannot hold become "?"). Nothing when the clipboard holds no text.
class CQtClipboardSource : public IClipboardSource {
public:
    std::optional<std::string> ReadText() override;
};
