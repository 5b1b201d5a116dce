// \brief The 16-grey-level form of the screenshot: each pixel's grey value taken to the nearest of
// 16 fixed levels, spaced more finely in the dark where the eye tells more apart.
#pragma once

#include <array>
#include <cstdint>

#include "crash/delivery/attachments/rgb_image.h"

namespace kestrix {

inline constexpr std::array<std::uint8_t, 16> GreyLevels{0,   28,  52,  73,  92,  109, 125, 140,
                                                         155, 170, 185, 199, 213, 227, 241, 255};

// (77 × red + 151 × green + 28 × blue) / 256.
int GreyValue(RgbColor color);

// The index of the nearest level; the lower one on a tie.
std::uint8_t GreyLevelIndex(int grey);

PalettedImage ToGreyLevels(const RgbImage& image);

}  // namespace kestrix
