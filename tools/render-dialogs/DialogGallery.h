#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "controls/DialogBase.h"

struct GalleryEntry {
    QString fileName;
    std::function<std::unique_ptr<CDialogBase>()> make;
    // Runs once the dialog is shown, before the picture is taken (fills lists and fields).
    std::function<void(CDialogBase&)> prepare;
};

// Every dialog of the program, built by its own window class, with sample content.
std::vector<GalleryEntry> DialogGallery();
