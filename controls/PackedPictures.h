#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// The program's pictures, compiled in from resources/images at build time (PackPictures.cpp):
// premultiplied 32-bit ARGB pixels, row by row.
struct PackedPicture {
    std::string_view name;  // the PNG file's name without ".png"
    int width;
    int height;
    const uint32_t* pixels;
};

extern const PackedPicture kPackedPictures[];
extern const size_t kPackedPictureCount;
