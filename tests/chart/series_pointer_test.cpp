// Tests of the pointer shapes.
#include "chart/series_pointer.h"

#include <gtest/gtest.h>

#include "tests/chart/chart_test_printers.h"
#include "tests/chart/fake_canvas.h"

namespace gatool {
namespace {

TEST(DrawPointerShape, DrawsEachStyleAroundThePointWithItsHalfSizes) {
    struct Case {
        TSeriesPointerStyle Style;
        DrawKind Kind;
        ChartRect Box;
        std::vector<ChartPoint> Corners;
    };
    // At (10, 20) with half-width 4 and half-height 3.
    const Case cases[] = {
        {psRectangle, DrawKind::Rectangle, {6, 17, 15, 24}, {}},  // 9 by 7 pixels
        {psCircle, DrawKind::Ellipse, {6, 17, 14, 23}, {}},       // 8 by 6 pixels
        {psTriangle, DrawKind::Polygon, {}, {{6, 23}, {14, 23}, {10, 17}}},
        {psDownTriangle, DrawKind::Polygon, {}, {{6, 17}, {14, 17}, {10, 23}}},
        {psDiamond, DrawKind::Polygon, {}, {{6, 20}, {10, 17}, {14, 20}, {10, 23}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Style);
        FakeCanvas canvas;
        TSeriesPointer pointer;
        pointer.Style = c.Style;
        DrawPointerShape(canvas, pointer, {10, 20}, 4, 3, clRed);
        ASSERT_EQ(canvas.Drawing().size(), 1u);
        const DrawnItem& shape = canvas.Drawing()[0];
        EXPECT_EQ(shape.Kind, c.Kind);
        EXPECT_EQ(shape.Box, c.Box);
        EXPECT_EQ(shape.Points, c.Corners);
        EXPECT_EQ(shape.Pen.Color, clBlack);
        EXPECT_EQ(shape.Fill, clRed);  // an unset brush takes the point colour
    }
}

TEST(DrawPointerShape, SmallDotIsOnePixelInThePointColour) {
    FakeCanvas canvas;
    TSeriesPointer pointer;
    pointer.Style = psSmallDot;
    DrawPointerShape(canvas, pointer, {10, 20}, 4, 4, clGreen);
    ASSERT_EQ(canvas.Drawing().size(), 1u);
    EXPECT_EQ(canvas.Drawing()[0].Kind, DrawKind::Pixel);
    EXPECT_EQ(canvas.Drawing()[0].Points[0], (ChartPoint{10, 20}));
    EXPECT_EQ(canvas.Drawing()[0].Fill, clGreen);
}

TEST(DrawPointerShape, SetColoursWinAndUnsetPenTakesThePointColour) {
    FakeCanvas canvas;
    TSeriesPointer pointer;
    pointer.Style = psDiamond;
    pointer.Brush.Color = RgbColor(0x8000FF);
    pointer.Pen.Color = clNotSet;
    DrawPointerShape(canvas, pointer, {0, 0}, 6, 6, clBlue);
    EXPECT_EQ(canvas.Drawing()[0].Fill, RgbColor(0x8000FF));
    EXPECT_EQ(canvas.Drawing()[0].Pen.Color, clBlue);

    canvas.Clear();
    pointer.Brush.Style = bsClear;
    DrawPointerShape(canvas, pointer, {0, 0}, 6, 6, clBlue);
    EXPECT_FALSE(canvas.Drawing()[0].Fill.has_value());
}

}  // namespace
}  // namespace gatool
