// \brief PNG files of paletted pictures through libpng, at 4 or 8 bits per pixel.
#pragma once

#include <string>

#include "crash/delivery/attachments/rgb_image.h"

namespace kestrix {

// The PNG file's bytes; throws std::runtime_error with libpng's message when encoding fails, or
// for a picture without pixels or with more palette entries than the bit depth holds.
std::string EncodePalettePng(const PalettedImage& image, int bitDepth);

}  // namespace kestrix
