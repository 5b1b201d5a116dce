// \brief The screenshot attachment in the PNG form that `ScrShotDepth` chooses: 4 gives 16 grey
// levels; 51200, 102400, 204800 and 307200 give 256 colours unless that file is larger than the
// value and the grey form is smaller; any other value gives 256 colours.
#pragma once

#include <cstdint>
#include <string>

#include "crash/delivery/attachments/rgb_image.h"

namespace kestrix {

std::string ScreenshotPng(const RgbImage& image, std::int32_t depth);

}  // namespace kestrix
