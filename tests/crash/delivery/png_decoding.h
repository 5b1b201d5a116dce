// Reads a PNG file back with libpng: size, bit depth, palette and one palette index per pixel.
#pragma once

#include <string>

#include "crash/delivery/attachments/rgb_image.h"

namespace kestrix::test {

struct DecodedPng {
    int BitDepth = 0;
    int ColorType = -1;
    PalettedImage Image;
};

DecodedPng DecodePng(const std::string& bytes);

}  // namespace kestrix::test
