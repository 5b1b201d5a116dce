// Tests of the placement of mark boxes: a box that would cover an earlier one moves beside it, in
// the placement itself and in the drawing of a chart.
#include "chart/mark_placement.h"

#include <gtest/gtest.h>

#include <vector>

#include "chart/line_series.h"
#include "tests/chart/chart_test_printers.h"
#include "tests/chart/unit_chart.h"

namespace gatool {
namespace {

// Two boxes side by side, 2 pixels apart, centred at x = 20 and x = 61.
class MarkPlacementTest : public testing::Test {
  protected:
    MarkPlacementTest() {
        EXPECT_EQ(m_placement.Place(Left, 20), Left);
        EXPECT_EQ(m_placement.Place(Right, 61), Right);
    }

    static constexpr ChartRect Left{0, 0, 40, 15};
    static constexpr ChartRect Right{42, 0, 80, 15};
    MarkPlacement m_placement;
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

}  // namespace
}  // namespace gatool
