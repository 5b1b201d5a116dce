// \brief The 256-colour form of the screenshot: a palette chosen by Xiaolin Wu's colour
// quantisation (variance-minimising splits of the colour cube over the upper five bits of each
// channel) and each pixel mapped to its nearest entry.
#pragma once

#include <cstddef>
#include <vector>

#include "crash/delivery/attachments/rgb_image.h"

namespace kestrix {

// At most maxColors entries: the mean colour of each box, the box of largest variance split at
// the plane that maximises the variance between its parts, until maxColors boxes exist or no box
// has a positive variance.
std::vector<RgbColor> WuPalette(const RgbImage& image, std::size_t maxColors = 256);

// Each pixel as the entry of the smallest sum of absolute channel differences (the first of
// equals), chosen once per combination of the upper five bits of the channels, for the first
// pixel there.
PalettedImage MapToPalette(const RgbImage& image, std::vector<RgbColor> palette);

}  // namespace kestrix
