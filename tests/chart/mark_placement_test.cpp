// Tests of the placement of mark boxes: a box that would cover an earlier one moves beside it, in
// the placement itself and in the drawing of a chart.
#include "chart/mark_placement.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "chart/line_series.h"
#include "tests/chart/chart_test_printers.h"
#include "tests/chart/unit_chart.h"

namespace gatool {
namespace {

// Two boxes side by side, 2 pixels apart, centred at x = 20 and x = 61, in bounds far off.
class MarkPlacementTest : public testing::Test {
  protected:
    MarkPlacementTest() {
        EXPECT_EQ(m_placement.Place(Left, 20), Left);
        EXPECT_EQ(m_placement.Place(Right, 61), Right);
    }

    static constexpr ChartRect Left{0, 0, 40, 15};
    static constexpr ChartRect Right{42, 0, 80, 15};
    MarkPlacement m_placement{{-1000, -1000, 1000, 1000}};
};

TEST_F(MarkPlacementTest, MovesAnOverlappingBoxToThePointsSideUntilItIsFree) {
    struct Case {
        const char* What;
        ChartRect Wanted;
        int PointX;
        ChartRect Placed;
    };
    const Case cases[] = {
        {"apart", {100, 0, 120, 15}, 110, {100, 0, 120, 15}},
        {"touching an edge", {80, 0, 100, 15}, 90, {80, 0, 100, 15}},
        {"just below", {0, 15, 40, 30}, 20, {0, 15, 40, 30}},
        {"point at the centre: right, past both", {10, 5, 30, 20}, 20, {82, 5, 102, 20}},
        {"point left of the centre: left", {5, 5, 25, 20}, 19, {-22, 5, -2, 20}},
        {"left of the second, then past the first", {50, 5, 70, 20}, 60, {-22, 5, -2, 20}},
        {"right of the second", {60, 5, 80, 20}, 61, {82, 5, 102, 20}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        MarkPlacement placement = m_placement;
        EXPECT_EQ(placement.Place(c.Wanted, c.PointX), c.Placed);
    }
}

TEST_F(MarkPlacementTest, KeepsTheMovedBoxesForTheBoxesThatFollow) {
    EXPECT_EQ(m_placement.Place({10, 5, 30, 20}, 20), (ChartRect{82, 5, 102, 20}));
    EXPECT_EQ(m_placement.Place({10, 5, 30, 20}, 20), (ChartRect{104, 5, 124, 20}));
}

TEST(MarkPlacementInBounds, KeepsEveryBoxInsideTheBounds) {
    const ChartRect bounds{0, 0, 100, 60};
    struct Case {
        const char* What;
        ChartRect Wanted;
        ChartRect Placed;
    };
    const Case cases[] = {
        {"past the left edge", {-7, 20, 13, 35}, {0, 20, 20, 35}},
        {"past the right edge", {90, 20, 110, 35}, {80, 20, 100, 35}},
        {"above the top", {40, -5, 60, 10}, {40, 0, 60, 15}},
        {"below the bottom", {40, 50, 60, 65}, {40, 45, 60, 60}},
        {"wider than the bounds: its left edge in", {-10, 20, 120, 35}, {0, 20, 130, 35}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        MarkPlacement placement(bounds);
        EXPECT_EQ(placement.Place(c.Wanted, (c.Wanted.Left + c.Wanted.Right) / 2), c.Placed);
    }
}

TEST(MarkPlacementInBounds, TakesTheOtherSideOrGoesUpWhereTheSideLeavesTheBounds) {
    MarkPlacement placement({0, 0, 100, 60});
    const ChartRect first{10, 30, 50, 45};
    EXPECT_EQ(placement.Place(first, 30), first);
    // Left of the first box's centre, but no room on the left: to its right.
    EXPECT_EQ(placement.Place({5, 32, 35, 47}, 20), (ChartRect{52, 32, 82, 47}));
    // No room on either side of the two: above the first box, the one it overlaps there.
    EXPECT_EQ(placement.Place({15, 33, 45, 48}, 30), (ChartRect{15, 13, 45, 28}));
    // No room any way, nor below the first box: it stays where it was wanted, inside the bounds.
    EXPECT_EQ(placement.Place({15, 20, 45, 35}, 30), (ChartRect{15, 20, 45, 35}));
}

// Three series with one marked point each on the unit chart, drawn in the order GS/GI, Fit, Far.
class MarksInADrawing : public testing::Test {
  protected:
    MarksInADrawing() {
        TSeriesMarks marks;
        marks.Visible = true;
        marks.Arrow.Color = clBlack;  // the panel's bevel lines are not black
        for (TLineSeries* series : {&m_gsGi, &m_fit, &m_far}) {
            series->SetMarks(marks);
            series->SetParentChart(&m_unit.Chart);
        }
        m_gsGi.AddPoint(100, 100, "GS/GI", clBlue);
        m_far.AddPoint(30, 50, "x", clRed);
    }

    // The filled mark boxes in drawing order; the back wall has no fill.
    std::vector<ChartRect> MarkBoxes() const {
        std::vector<ChartRect> boxes;
        for (const DrawnItem& item : m_unit.Canvas.Items(DrawKind::Rectangle)) {
            if (item.Fill) {
                boxes.push_back(item.Box);
            }
        }
        return boxes;
    }

    UnitChart m_unit;
    TLineSeries m_gsGi;
    TLineSeries m_fit;
    TLineSeries m_far;
};

TEST_F(MarksInADrawing, MoveALaterBoxBesideAnEarlierOneAndLeaveFreeBoxesInPlace) {
    // GS/GI at (100, 100): 38 by 15 pixels. Fit 4 pixels lower would cover it.
    const ChartRect gsGi{81, 78, 119, 93};
    struct Case {
        double FitX;
        ChartRect Fit;
    };
    const Case cases[] = {
        {101, {121, 82, 147, 97}},  // at or right of the GS/GI box's centre (100): right of it
        {99, {53, 82, 79, 97}},     // left of it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.FitX);
        m_fit.ClearPoints();
        m_fit.AddPoint(c.FitX, 96, "Fit", clRed);
        // Every drawing places its boxes anew.
        for (int drawing = 0; drawing < 2; ++drawing) {
            m_unit.Draw();
            const std::vector<ChartRect> boxes = MarkBoxes();
            ASSERT_EQ(boxes.size(), 3u);
            EXPECT_EQ(boxes[0], gsGi);
            EXPECT_EQ(boxes[1], c.Fit);
            EXPECT_EQ(boxes[2], (ChartRect{23, 128, 37, 143}));  // "x" at (30, 150), far off
        }
        // The arrow runs from the point to the middle of the moved box's bottom edge.
        std::vector<DrawnItem> arrows = m_unit.Canvas.Items(DrawKind::Line);
        std::erase_if(arrows, [](const DrawnItem& line) { return line.Pen.Color != clBlack; });
        ASSERT_EQ(arrows.size(), 3u);
        EXPECT_EQ(arrows[1].Points,
                  (std::vector<ChartPoint>{{static_cast<int>(c.FitX), 104},
                                           {(c.Fit.Left + c.Fit.Right) / 2, 96}}));
        EXPECT_EQ(arrows[0].Points, (std::vector<ChartPoint>{{100, 100}, {100, 92}}));
    }
}

TEST_F(MarksInADrawing, DoNotMoveAroundTheBoxesOfHiddenMarks) {
    m_fit.AddPoint(101, 96, "Fit", clRed);
    TSeriesMarks hidden = m_gsGi.Marks();
    hidden.Visible = false;
    m_gsGi.SetMarks(hidden);
    m_unit.Draw();
    const std::vector<ChartRect> boxes = MarkBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0], (ChartRect{88, 82, 114, 97}));  // Fit where it would stand alone
}

// As after a zoom: points left of, right of, above and below the plot keep their marks out of it.
TEST_F(MarksInADrawing, DrawNoMarksForPointsOutsideThePlot) {
    const std::pair<double, double> outside[] = {{-5, 100}, {205, 100}, {60, -5}, {60, 205}};
    for (const auto& [x, y] : outside) {
        m_fit.AddPoint(x, y, "off", clRed);
    }
    m_unit.Draw();
    // GS/GI and "x" only: of the points outside the plot, the one beyond its right edge is drawn
    // for the line, but not marked.
    ASSERT_EQ(m_fit.LastVisible(), m_fit.Count() - 1);
    EXPECT_EQ(MarkBoxes().size(), 2u);
    for (const DrawnItem& text : m_unit.Canvas.Items(DrawKind::Text)) {
        EXPECT_NE(text.Text, "off");
    }
}

TEST_F(MarksInADrawing, KeepTheBoxesOfPointsAtTheChartsEdgesInsideIt) {
    m_fit.AddPoint(0, 200, "Fit at the top left corner", clRed);
    m_unit.Draw();
    for (const ChartRect& box : MarkBoxes()) {
        EXPECT_GE(box.Left, 0);
        EXPECT_GE(box.Top, 0);
        EXPECT_LE(box.Right, UnitChart::Size);
        EXPECT_LE(box.Bottom, UnitChart::Size);
    }
    EXPECT_EQ(MarkBoxes().size(), 3u);
}

}  // namespace
}  // namespace gatool
