// \brief Grey values and their levels.
#include "crash/delivery/attachments/grey_levels.h"

#include <cstdlib>

namespace kestrix {

int GreyValue(RgbColor color) {
    return (77 * color.Red + 151 * color.Green + 28 * color.Blue) / 256;
}

std::uint8_t GreyLevelIndex(int grey) {
    std::uint8_t best = 0;
    for (std::uint8_t level = 1; level < GreyLevels.size(); ++level) {
        if (std::abs(grey - GreyLevels[level]) < std::abs(grey - GreyLevels[best])) {
            best = level;
        }
    }
    return best;
}

PalettedImage ToGreyLevels(const RgbImage& image) {
    PalettedImage result{image.Width, image.Height, {}, {}};
    for (const std::uint8_t level : GreyLevels) {
        result.Palette.push_back({level, level, level});
    }
    result.Indices.reserve(image.Pixels.size());
    for (const RgbColor pixel : image.Pixels) {
        result.Indices.push_back(GreyLevelIndex(GreyValue(pixel)));
    }
    return result;
}

}  // namespace kestrix
