// The screenshot's PNG forms: grey levels, Wu's palette, the mapping of pixels and the size rule,
// each read back with libpng.
#include "crash/delivery/attachments/screenshot_png.h"

#include <gtest/gtest.h>
#include <png.h>

#include <random>

#include "crash/delivery/attachments/grey_levels.h"
#include "crash/delivery/attachments/wu_quantizer.h"
#include "tests/crash/delivery/png_decoding.h"

namespace kestrix {
namespace {

RgbImage Picture(int width, int height, const std::vector<RgbColor>& pixels) {
    return {width, height, pixels};
}

RgbImage Noise(int width, int height, unsigned seed) {
    std::mt19937 random(seed);
    RgbImage image{width, height, {}};
    for (int i = 0; i < width * height; ++i) {
        image.Pixels.push_back({static_cast<std::uint8_t>(random()),
                                static_cast<std::uint8_t>(random()),
                                static_cast<std::uint8_t>(random())});
    }
    return image;
}

TEST(GreyLevels, NearestLevelOfTheWeightedGrey) {
    EXPECT_EQ(GreyValue({255, 255, 255}), 255);
    EXPECT_EQ(GreyValue({255, 0, 0}), 76);
    EXPECT_EQ(GreyValue({0, 255, 0}), 150);
    EXPECT_EQ(GreyValue({0, 0, 255}), 27);
    const struct {
        int Grey;
        std::uint8_t Level;
    } cases[] = {{0, 0},   {14, 0},  {15, 1},   {40, 1},   {41, 2},
                 {148, 8}, {147, 7}, {248, 14}, {249, 15}, {255, 15}};
    for (const auto& test : cases) {
        SCOPED_TRACE(test.Grey);
        EXPECT_EQ(GreyLevelIndex(test.Grey), test.Level);
    }
}

TEST(WuPalette, StopsWhenEveryBoxHoldsOneColour) {
    const std::vector<RgbColor> colours{{200, 10, 10}, {10, 200, 10}, {10, 10, 200}};
    const auto palette = WuPalette(
        Picture(3, 2, {colours[0], colours[1], colours[2], colours[0], colours[0], colours[1]}));
    ASSERT_EQ(palette.size(), 3u);
    for (const RgbColor colour : colours) {
        EXPECT_NE(std::find(palette.begin(), palette.end(), colour), palette.end());
    }
}

TEST(WuPalette, SplitsAtThePlaneOfLargestVarianceBetweenTheParts) {
    // {0, 100 | 255} scores 100²/2 + 255² against 0 + 355²/2 for {0 | 100, 255}.
    const auto palette = WuPalette(Picture(3, 1, {{0, 0, 0}, {100, 0, 0}, {255, 0, 0}}), 2);
    EXPECT_EQ(palette, (std::vector<RgbColor>{{50, 0, 0}, {255, 0, 0}}));
}

TEST(WuPalette, ColoursOfOneCellShareTheirIntegerMean) {
    const auto palette = WuPalette(Picture(3, 1, {{0, 0, 0}, {7, 7, 7}, {7, 6, 7}}));
    EXPECT_EQ(palette, (std::vector<RgbColor>{{4, 4, 4}}));
}

TEST(WuPalette, ManyColoursGiveTheFullPalette) {
    const auto palette = WuPalette(Noise(64, 64, 7));
    EXPECT_EQ(palette.size(), 256u);
}

TEST(MapToPalette, SmallestSumOfChannelDifferencesChosenOncePerCell) {
    // L1 distances 30 and 25 (squared distances would choose the first).
    EXPECT_EQ(MapToPalette(Picture(1, 1, {{0, 0, 0}}), {{10, 10, 10}, {0, 0, 25}}).Indices,
              std::vector<std::uint8_t>{1});
    // Equal distances: the first entry.
    EXPECT_EQ(MapToPalette(Picture(1, 1, {{10, 0, 0}}), {{0, 0, 0}, {20, 0, 0}}).Indices,
              std::vector<std::uint8_t>{0});
    // (7, 7, 7) lies in the cell of (0, 0, 0) and takes its choice.
    EXPECT_EQ(MapToPalette(Picture(3, 1, {{0, 0, 0}, {7, 7, 7}, {8, 8, 8}}), {{0, 0, 0}, {7, 7, 7}})
                  .Indices,
              (std::vector<std::uint8_t>{0, 0, 1}));
}

TEST(ScreenshotPng, GreyFormHasSixteenLevelsAtFourBits) {
    const RgbImage image = Picture(
        3, 2, {{0, 0, 0}, {255, 255, 255}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {128, 128, 128}});
    const auto png = test::DecodePng(ScreenshotPng(image, 4));
    EXPECT_EQ(png.ColorType, PNG_COLOR_TYPE_PALETTE);
    EXPECT_EQ(png.BitDepth, 4);
    EXPECT_EQ(png.Image.Width, 3);
    EXPECT_EQ(png.Image.Height, 2);
    ASSERT_EQ(png.Image.Palette.size(), 16u);
    for (std::size_t level = 0; level < 16; ++level) {
        EXPECT_EQ(png.Image.Palette[level],
                  (RgbColor{GreyLevels[level], GreyLevels[level], GreyLevels[level]}));
    }
    EXPECT_EQ(png.Image.Indices, (std::vector<std::uint8_t>{0, 15, 3, 8, 1, 6}));
}

TEST(ScreenshotPng, ColourFormCarriesWuPaletteAtEightBits) {
    const RgbImage image = Noise(40, 30, 3);
    const auto png = test::DecodePng(ScreenshotPng(image, 8));
    EXPECT_EQ(png.BitDepth, 8);
    EXPECT_EQ(png.Image.Width, 40);
    EXPECT_EQ(png.Image.Height, 30);
    const PalettedImage expected = MapToPalette(image, WuPalette(image));
    EXPECT_EQ(png.Image.Palette, expected.Palette);
    EXPECT_EQ(png.Image.Indices, expected.Indices);
}

TEST(ScreenshotPng, SizeRuleTakesTheGreyFormWhenColoursAreTooLarge) {
    const struct {
        const char* Name;
        RgbImage Image;
        std::int32_t Depth;
        int BitDepth;
    } cases[] = {
        {"noise over 51200 bytes", Noise(300, 300, 1), 51200, 4},
        {"noise under 307200 bytes", Noise(300, 300, 1), 307200, 8},
        {"small picture", Noise(20, 20, 2), 51200, 8},
        {"no size rule for other values", Noise(300, 300, 1), 51201, 8},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.Name);
        const std::string bytes = ScreenshotPng(test.Image, test.Depth);
        EXPECT_EQ(test::DecodePng(bytes).BitDepth, test.BitDepth);
    }
}

TEST(ScreenshotPng, EmptyPictureIsRefused) {
    EXPECT_THROW(ScreenshotPng(RgbImage{}, 8), std::runtime_error);
}

}  // namespace
}  // namespace kestrix
