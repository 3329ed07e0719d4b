#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "controls/DialogBase.h"

struct GalleryEntry {
    QString fileName;
    std::function<std::unique_ptr<CDialogBase>()> make;
};

// Every dialog of the program: the window class where it exists, else the bare layout.
std::vector<GalleryEntry> DialogGallery();
