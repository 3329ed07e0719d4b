#include "resources/AccessibleName.h"

#include <string_view>

namespace res {

namespace {

// Controls whose own text is their content, so a label has to name them.
bool TakesLabel(Kind kind) {
    return kind == Kind::kEdit || kind == Kind::kFramedEdit || kind == Kind::kList ||
           kind == Kind::kHotkey;
}

std::string WithoutColon(std::string caption) {
    for (const std::string_view colon : {std::string_view(":"), std::string_view("：")}) {
        if (caption.size() >= colon.size() &&
            caption.compare(caption.size() - colon.size(), colon.size(), colon) == 0) {
            caption.erase(caption.size() - colon.size());
            break;
        }
    }
    while (!caption.empty() && caption.back() == ' ') {
        caption.pop_back();
    }
    return caption;
}

}  // namespace

std::size_t NamingLabel(const Dialog& dialog, std::size_t index) {
    if (index == 0 || index >= dialog.controls.size() || !TakesLabel(dialog.controls[index].kind)) {
        return kNoLabel;
    }
    // Only a fixed caption names a neighbour; a label with an id shows changing text.
    const Control& before = dialog.controls[index - 1];
    if (before.kind != Kind::kStatic || before.id != kNoId || before.caption.empty()) {
        return kNoLabel;
    }
    return index - 1;
}

std::string AccessibleName(const Dialog& dialog, std::size_t index) {
    if (index >= dialog.controls.size()) {
        return {};
    }
    const Control& control = dialog.controls[index];
    if (!control.name.empty()) {
        return control.name;
    }
    const std::size_t label = NamingLabel(dialog, index);
    return label == kNoLabel ? std::string() : WithoutColon(dialog.controls[label].caption);
}

}  // namespace res
