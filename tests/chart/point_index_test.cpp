// Tests of the hit test of line series: the point-on-segment rule, and which point or segment
// PointIndexAt finds by the state of the last drawing.
#include <gtest/gtest.h>

#include <climits>
#include <utility>

#include "chart/line_series.h"
#include "tests/chart/chart_test_printers.h"
#include "tests/chart/unit_chart.h"

namespace gatool {
namespace {

TEST(PointOnSegment, HoldsWithinOnePixelOfTheLineAndBetweenItsEnds) {
    struct Case {
        ChartPoint At, A, B;
        bool On;
        const char* What;
    };
    const Case cases[] = {
        {{20, 50}, {10, 50}, {30, 50}, true, "on the row of a horizontal segment"},
        {{20, 49}, {10, 50}, {30, 50}, false, "one pixel above it"},
        {{20, 51}, {10, 50}, {30, 50}, false, "one pixel below it"},
        {{10, 50}, {10, 50}, {30, 50}, true, "on its first end"},
        {{30, 50}, {10, 50}, {30, 50}, true, "on its last end"},
        {{31, 50}, {10, 50}, {30, 50}, false, "one pixel beyond its end"},
        {{20, 50}, {30, 50}, {10, 50}, true, "on a segment running leftwards"},
        {{5, 5}, {5, 0}, {5, 10}, true, "on a vertical segment"},
        {{6, 5}, {5, 0}, {5, 10}, false, "one pixel beside it"},
        {{4, 2}, {0, 0}, {10, 5}, true, "on the ideal line of a slope"},
        {{5, 3}, {0, 0}, {10, 5}, true, "half a pixel off it"},
        {{4, 3}, {0, 0}, {10, 5}, false, "a whole pixel off it"},
        {{3, 3}, {3, 3}, {3, 3}, false, "a segment of zero length"},
        {{0, 0}, {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, true, "on a segment across all ints"},
        {{1, 0}, {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, false, "a pixel off it"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        EXPECT_EQ(PointOnSegment(c.At, c.A, c.B), c.On);
    }
}

class PointIndex : public testing::Test {
  protected:
    PointIndex() { m_line.SetParentChart(&m_unit.Chart); }

    // Two points drawn at the pixels `a` and `b`.
    void DrawLine(ChartPoint a, ChartPoint b) {
        m_line.AddPoint(a.X, UnitChart::Size - a.Y, "", clBlack);
        m_line.AddPoint(b.X, UnitChart::Size - b.Y, "", clBlack);
        m_unit.Draw();
    }

    void ShowDiamonds() {
        TSeriesPointer pointer = m_line.Pointer();
        pointer.Visible = true;
        pointer.Style = psDiamond;
        pointer.HorizSize = 6;
        pointer.VertSize = 6;
        m_line.SetPointer(pointer);
    }

    UnitChart m_unit;
    TLineSeries m_line;
};

TEST_F(PointIndex, FindsTheDiamondsOfATwoPointLineBeforeTheLineBetweenThem) {
    ShowDiamonds();
    DrawLine({50, 150}, {150, 50});
    struct Case {
        ChartPoint At;
        int Index;
        const char* What;
    };
    const Case cases[] = {
        {{55, 150}, 0, "inside the first diamond's box"},
        {{155, 50}, 1, "5 pixels right of the second point"},
        {{156, 50}, -1, "6 pixels right of it"},
        {{150, 45}, 1, "5 pixels above it"},
        {{150, 44}, -1, "6 pixels above it"},
        {{145, 55}, 1, "on the line, inside the second diamond's box"},
        {{100, 100}, 0, "on the line between the diamonds"},
        {{100, 102}, -1, "two pixels below the line"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        EXPECT_EQ(m_line.PointIndexAt(c.At.X, c.At.Y), c.Index);
    }
}

// As on a zoomed plot: the GI/GS line crosses the plot while both its diamonds lie outside it,
// left and right, above and below.
TEST_F(PointIndex, HitsALineWhoseEndsBothLieOutsideThePlot) {
    ShowDiamonds();
    DrawLine({-100, 300}, {300, -100});
    ASSERT_EQ(m_line.FirstVisible(), 1);
    const std::pair<ChartPoint, int> cases[] = {
        {{0, 200}, 0}, {{100, 100}, 0}, {{199, 1}, 0}, {{100, 103}, -1}, {{50, 100}, -1}};
    for (const auto& [at, index] : cases) {
        SCOPED_TRACE(testing::Message() << at.X << ", " << at.Y);
        EXPECT_EQ(m_line.PointIndexAt(at.X, at.Y), index);
    }
}

TEST_F(PointIndex, GivesTheSegmentsFirstPointWithoutPointers) {
    DrawLine({50, 150}, {150, 50});
    EXPECT_EQ(m_line.PointIndexAt(145, 55), 0);
    EXPECT_EQ(m_line.PointIndexAt(150, 50), 1);  // the point itself
}

TEST_F(PointIndex, HitsAHorizontalSegmentOnlyOnItsOwnPixelRow) {
    DrawLine({50, 100}, {150, 100});
    EXPECT_EQ(m_line.PointIndexAt(100, 100), 0);
    EXPECT_EQ(m_line.PointIndexAt(100, 99), -1);
    EXPECT_EQ(m_line.PointIndexAt(100, 101), -1);
}

TEST_F(PointIndex, HitsTheLineOfASeriesWhoseLinePenIsHidden) {
    TChartPen pen = m_line.LinePen();
    pen.Visible = false;
    m_line.SetLinePen(pen);
    DrawLine({50, 100}, {150, 100});
    EXPECT_EQ(m_line.PointIndexAt(100, 100), 0);
}

TEST_F(PointIndex, FindsNothingBeforeTheFirstDrawing) {
    m_line.AddPoint(50, 100, "", clBlack);
    EXPECT_EQ(m_line.PointIndexAt(50, 100), -1);
}

TEST_F(PointIndex, ReadsNoPointBeyondThoseLeftAfterTheDrawing) {
    DrawLine({50, 100}, {150, 100});
    m_line.ClearPoints();
    EXPECT_EQ(m_line.PointIndexAt(50, 100), -1);
    // One point again: the drawing's last visible index 1 lies beyond it.
    m_line.AddPoint(50, 100, "", clBlack);
    EXPECT_EQ(m_line.PointIndexAt(50, 100), 0);
    EXPECT_EQ(m_line.PointIndexAt(100, 100), -1);
    EXPECT_EQ(m_line.PointIndexAt(150, 100), -1);
}

TEST_F(PointIndex, IsNoneForASeriesWithoutLines) {
    TChartSeries plain;
    plain.SetParentChart(&m_unit.Chart);
    plain.AddPoint(50, 100, "", clBlack);
    m_unit.Draw();
    ASSERT_EQ(plain.FirstVisible(), 0);
    EXPECT_EQ(plain.PointIndexAt(50, 100), -1);
}

}  // namespace
}  // namespace gatool
