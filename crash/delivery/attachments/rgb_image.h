// \brief A picture as plain pixels, the form the screenshot travels in below the windows.
#pragma once

#include <cstdint>
#include <vector>

namespace kestrix {

struct RgbColor {
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;

    friend bool operator==(const RgbColor&, const RgbColor&) = default;
};

struct RgbImage {
    int Width = 0;
    int Height = 0;
    // Row after row from the top, Width × Height pixels.
    std::vector<RgbColor> Pixels;
};

// A picture as palette entries, one index per pixel.
struct PalettedImage {
    int Width = 0;
    int Height = 0;
    std::vector<RgbColor> Palette;
    std::vector<std::uint8_t> Indices;
};

}  // namespace kestrix
