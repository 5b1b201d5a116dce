// Tests of the mark boxes above points.
#include "chart/series_marks.h"

#include <gtest/gtest.h>

#include "tests/chart/chart_test_printers.h"
#include "tests/chart/fake_canvas.h"

namespace gatool {
namespace {

TEST(DrawMarkBox, SitsOnAnArrowAboveThePointAndFitsItsTextAndAW) {
    FakeCanvas canvas{6, 13};
    TSeriesMarks marks;
    marks.Visible = true;
    DrawMarkBox(canvas, marks, "Fit", {100, 50}, 8, clRed, clWhite);
    // "Fit" 18 pixels + "W" 6 + frame 2 = 26 wide; one line 13 + frame 2 = 15 high.
    const std::vector<DrawnItem> lines = canvas.Items(DrawKind::Line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].Points, (std::vector<ChartPoint>{{100, 50}, {100, 42}}));
    EXPECT_EQ(lines[0].Pen.Color, clBlack);  // white on a white chart would not show
    const std::vector<DrawnItem> boxes = canvas.Items(DrawKind::Rectangle);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Box, (ChartRect{87, 28, 113, 43}));
    EXPECT_EQ(boxes[0].Fill, TColor{0x80FFFF});
    const std::vector<DrawnItem> texts = canvas.Items(DrawKind::Text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Points[0], (ChartPoint{91, 29}));
}

TEST(DrawMarkBox, StacksTheLinesOfAText) {
    FakeCanvas canvas{6, 13};
    TSeriesMarks marks;
    DrawMarkBox(canvas, marks, "a\nbbb", {100, 50}, 0, clRed, clWhite);
    EXPECT_EQ(canvas.Items(DrawKind::Line).size(), 0u);  // not raised: no arrow
    EXPECT_EQ(canvas.Items(DrawKind::Rectangle)[0].Box, (ChartRect{87, 23, 113, 51}));
    const std::vector<DrawnItem> texts = canvas.Items(DrawKind::Text);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].Points[0], (ChartPoint{97, 24}));
    EXPECT_EQ(texts[1].Points[0], (ChartPoint{91, 37}));
}

TEST(DrawMarkBox, DrawsAnArrowThatWouldNotShowInBlackOrWhite) {
    struct Case {
        TColor Arrow;
        TColor Point;
        TColor Chart;
        TColor Drawn;
    };
    const Case cases[] = {
        {clWhite, clRed, clWhite, clBlack}, {clWhite, clRed, clBlack, clWhite},
        {clBlack, clRed, clBlack, clWhite}, {clGreen, clGreen, clWhite, clBlack},
        {clRed, clGreen, clWhite, clRed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.Arrow << " " << c.Point << " " << c.Chart);
        FakeCanvas canvas;
        TSeriesMarks marks;
        marks.Arrow.Color = c.Arrow;
        DrawMarkBox(canvas, marks, "x", {0, 0}, 8, c.Point, c.Chart);
        EXPECT_EQ(canvas.Items(DrawKind::Line)[0].Pen.Color, c.Drawn);
    }
}

TEST(DrawMarkBox, TransparentMarksDrawOnlyTheirFrameOrNothing) {
    FakeCanvas canvas;
    TSeriesMarks marks;
    marks.Transparent = true;
    DrawMarkBox(canvas, marks, "x", {0, 0}, 8, clRed, clWhite);
    ASSERT_EQ(canvas.Items(DrawKind::Rectangle).size(), 1u);
    EXPECT_FALSE(canvas.Items(DrawKind::Rectangle)[0].Fill.has_value());

    canvas.Clear();
    marks.Frame.Visible = false;
    DrawMarkBox(canvas, marks, "x", {0, 0}, 8, clRed, clWhite);
    EXPECT_TRUE(canvas.Items(DrawKind::Rectangle).empty());
    EXPECT_EQ(canvas.Texts(), (std::vector<std::string>{"x"}));
}

TEST(DrawMarkBox, DrawsNothingForAnEmptyText) {
    FakeCanvas canvas;
    DrawMarkBox(canvas, TSeriesMarks{}, "", {0, 0}, 8, clRed, clWhite);
    EXPECT_TRUE(canvas.Drawing().empty());
}

}  // namespace
}  // namespace gatool
