// \brief Colours of the chart component: TColor values laid out as 0x00BBGGRR, the named colours,
// the value that means "not set", the desktop's colours and the palette of sixteen colours.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace gatool {

// 0x00BBGGRR: red in the low byte.
using TColor = std::uint32_t;

// An object with this colour uses its owner's colour (a point uses its series' colour).
inline constexpr TColor clNotSet = 0x80000000;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;

// Colours of the desktop's colour scheme, looked up by the drawing layer when it draws.
inline constexpr TColor SystemColorFlag = 0xFF000000;
inline constexpr TColor clBtnFace = SystemColorFlag | 1;
inline constexpr TColor clBtnHighlight = SystemColorFlag | 2;
inline constexpr TColor clBtnShadow = SystemColorFlag | 3;

constexpr bool IsSystemColor(TColor color) {
    return (color & 0xFF000000) == SystemColorFlag;
}

// The colour written #RRGGBB (red in the high byte), as the window's tables give colours.
constexpr TColor RgbColor(std::uint32_t rgb) {
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

// Red, green, yellow, blue, white, grey, fuchsia, teal, navy, maroon, lime, olive, purple, silver,
// aqua, black.
inline constexpr std::array<TColor, 16> Palette{
    0x0000FF, 0x008000, 0x00FFFF, 0xFF0000, 0xFFFFFF, 0x808080, 0xFF00FF, 0x808000,
    0x800000, 0x000080, 0x00FF00, 0x008080, 0x800080, 0xC0C0C0, 0xFFFF00, 0x000000,
};

constexpr TColor PaletteColor(std::size_t index) {
    return Palette[index % Palette.size()];
}

}  // namespace gatool
