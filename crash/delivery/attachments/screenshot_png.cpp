// \brief Choosing the screenshot's PNG form.
#include "crash/delivery/attachments/screenshot_png.h"

#include <algorithm>
#include <array>

#include "crash/delivery/attachments/grey_levels.h"
#include "crash/delivery/attachments/png_encoding.h"
#include "crash/delivery/attachments/wu_quantizer.h"

namespace kestrix {
namespace {

constexpr std::array<std::int32_t, 4> SizeLimitedDepths{51200, 102400, 204800, 307200};

bool IsSizeLimited(std::int32_t depth) {
    return std::find(SizeLimitedDepths.begin(), SizeLimitedDepths.end(), depth) !=
           SizeLimitedDepths.end();
}

}  // namespace

std::string ScreenshotPng(const RgbImage& image, std::int32_t depth) {
    if (depth == 4) {
        return EncodePalettePng(ToGreyLevels(image), 4);
    }
    std::string colours = EncodePalettePng(MapToPalette(image, WuPalette(image)), 8);
    if (!IsSizeLimited(depth) || colours.size() <= static_cast<std::size_t>(depth)) {
        return colours;
    }
    std::string grey = EncodePalettePng(ToGreyLevels(image), 4);
    return grey.size() < colours.size() ? grey : colours;
}

}  // namespace kestrix
