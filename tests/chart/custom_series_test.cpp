// Tests of how line series draw: segments, pointers, skipped points, the entry at the plot's left
// edge, the visible points, the legend symbol and the pointer margins.
#include "chart/custom_series.h"

#include <gtest/gtest.h>

#include "chart/chart_model.h"
#include "chart/line_series.h"
#include "tests/chart/chart_test_printers.h"
#include "tests/chart/fake_canvas.h"

namespace gatool {
namespace {

class LineSeriesDrawing : public testing::Test {
  protected:
    LineSeriesDrawing() {
        m_series.SetParentChart(&m_chart);
        TSeriesPointer pointer = m_series.Pointer();
        pointer.Visible = true;
        pointer.Style = psCircle;
        m_series.SetPointer(pointer);
    }

    // One pixel per unit: x from 0 at the left, y from 0 at the bottom of a 100 by 100 plot, or
    // the bottom axis from `low` to `low` + 100.
    void Draw(double low = 0) {
        m_chart.BottomAxis().SetAxisRange(low, low + 100);
        m_chart.LeftAxis().SetAxisRange(0, 100);
        for (TChartAxis* axis : {&m_chart.BottomAxis(), &m_chart.LeftAxis()}) {
            axis->CalcAutomaticRange();
            axis->SetPixelPositions(Plot);
        }
        m_series.CalcFirstLastVisible(Plot);
        m_series.DrawAllPoints(m_canvas);
    }

    // The drawing as a sequence: "L(x,y)-(x,y)" for a segment, "P(x,y)" for a pointer.
    std::vector<std::string> Sequence() const {
        std::vector<std::string> steps;
        const auto point = [](ChartPoint p) {
            return "(" + std::to_string(p.X) + "," + std::to_string(p.Y) + ")";
        };
        for (const DrawnItem& item : m_canvas.Drawing()) {
            if (item.Kind == DrawKind::Line) {
                steps.push_back("L" + point(item.Points[0]) + "-" + point(item.Points[1]));
            } else if (item.Kind == DrawKind::Ellipse) {
                steps.push_back("P" + point({item.Box.Left + 4, item.Box.Top + 4}));
            }
        }
        return steps;
    }

    static constexpr ChartRect Plot{0, 0, 100, 100};
    ChartModel m_chart;
    TLineSeries m_series;
    FakeCanvas m_canvas;
};

TEST_F(LineSeriesDrawing, DrawsEveryPointerOverBothLinesThatMeetAtIt) {
    m_series.AddPoint(10, 10, "", clRed);
    m_series.AddPoint(20, 20, "", clGreen);
    m_series.AddPoint(30, 10, "", clBlue);
    Draw();
    EXPECT_EQ(Sequence(), (std::vector<std::string>{"L(10,90)-(20,80)", "P(10,90)",
                                                    "L(20,80)-(30,90)", "P(20,80)", "P(30,90)"}));
}

TEST_F(LineSeriesDrawing, GivesEachSegmentItsEndPointsColour) {
    m_series.AddPoint(10, 10, "", clRed);
    m_series.AddPoint(20, 20, "", clGreen);
    m_series.AddPoint(30, 10, "", clBlue);
    TChartPen pen = m_series.LinePen();
    pen.Width = 3;
    pen.Color = clYellow;  // never used for segments
    m_series.SetLinePen(pen);
    Draw();
    const std::vector<DrawnItem> lines = m_canvas.Items(DrawKind::Line);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].Pen.Color, clGreen);
    EXPECT_EQ(lines[1].Pen.Color, clBlue);
    EXPECT_EQ(lines[1].Pen.Width, 3);
    const std::vector<DrawnItem> pointers = m_canvas.Items(DrawKind::Ellipse);
    EXPECT_EQ(pointers[0].Fill, clRed);
    EXPECT_EQ(pointers[2].Fill, clBlue);
}

TEST_F(LineSeriesDrawing, DrawsASinglePointsPointerAlone) {
    m_series.AddPoint(50, 50, "", clRed);
    Draw();
    EXPECT_EQ(Sequence(), (std::vector<std::string>{"P(50,50)"}));
}

TEST_F(LineSeriesDrawing, WithoutALinePenDrawsOnlyPointers) {
    m_series.AddPoint(10, 10, "", clRed);
    m_series.AddPoint(20, 20, "", clRed);
    TChartPen pen = m_series.LinePen();
    pen.Visible = false;
    m_series.SetLinePen(pen);
    Draw();
    EXPECT_EQ(Sequence(), (std::vector<std::string>{"P(10,90)", "P(20,80)"}));
}

TEST_F(LineSeriesDrawing, SkipsPointsFarOutsideTheDrawableRange) {
    m_series.AddPoint(10, 10, "", clRed);
    m_series.AddPoint(20, 1e6, "", clRed);  // about a million pixels above the plot
    m_series.AddPoint(30, 10, "", clRed);
    Draw();
    EXPECT_EQ(Sequence(), (std::vector<std::string>{"L(10,90)-(30,90)", "P(10,90)", "P(30,90)"}));
}

TEST_F(LineSeriesDrawing, LeavesOutSegmentsBetweenEqualPositions) {
    m_series.AddPoint(10, 10, "", clRed);
    m_series.AddPoint(10, 10, "", clRed);
    Draw();
    EXPECT_EQ(Sequence(), (std::vector<std::string>{"P(10,90)", "P(10,90)"}));
}

TEST_F(LineSeriesDrawing, EntersFromTheLeftEdgeWhereTheLineCrossesIt) {
    // The axis runs from 20 to 120: points at 0 and 10 lie left of the plot.
    m_series.AddPoint(0, 0, "", clRed);
    m_series.AddPoint(10, 40, "", clRed);
    m_series.AddPoint(30, 60, "", clRed);
    m_series.AddPoint(50, 60, "", clRed);
    Draw(20);
    EXPECT_EQ(m_series.FirstVisible(), 2);
    EXPECT_EQ(m_series.LastVisible(), 3);
    // At x = 20 the line from (10, 40) to (30, 60) is at 50.
    EXPECT_EQ(Sequence(), (std::vector<std::string>{"L(0,50)-(10,40)", "L(10,40)-(30,40)",
                                                    "P(10,40)", "P(30,40)"}));
}

TEST(FirstLastVisible, RunFromTheFirstPointInsideToOnePointBeyondTheRightEdge) {
    struct Case {
        const char* Name;
        std::vector<double> Xs;
        int First;
        int Last;
    };
    // The plot shows x from 0 to 100.
    const Case cases[] = {
        {"NoPoints", {}, -1, -1},
        {"AllInside", {0, 50, 100}, 0, 2},
        {"OneBeyondTheRightIsKept", {50, 110, 130}, 0, 1},
        {"LeftOfThePlotIsLeftOut", {-20, -10, 10}, 2, 2},
        {"AllLeftOfThePlot", {-20, -10}, -1, -1},
        {"AllRightOfThePlot", {150, 160}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        ChartModel chart;
        TLineSeries series;
        series.SetParentChart(&chart);
        for (const double x : c.Xs) {
            series.AddPoint(x, 0, "", clRed);
        }
        chart.BottomAxis().SetAxisRange(0, 100);
        chart.BottomAxis().CalcAutomaticRange();
        chart.BottomAxis().SetPixelPositions({0, 0, 100, 100});
        series.CalcFirstLastVisible({0, 0, 100, 100});
        EXPECT_EQ(series.FirstVisible(), c.First);
        EXPECT_EQ(series.LastVisible(), c.Last);
    }
}

TEST(LineSeriesLegendSymbol, IsALineAndThePointerScaledToTheBox) {
    struct Case {
        const char* Name;
        bool PointerVisible;
        bool LineVisible;
        std::size_t Lines;
        ChartRect Pointer;  // the rectangle pointer drawn, if any
    };
    // A box of 30 by 9 pixels centred at (15, 4).
    const Case cases[] = {
        {"LineAndPointer", true, true, 1, {11, 1, 20, 8}},  // half-sizes 4 and 9 / 3 = 3
        {"PointerAlone", true, false, 0, {11, 0, 20, 9}},   // half-sizes 4 and 4
        {"LineAlone", false, true, 1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TLineSeries series;
        series.SetSeriesColor(clRed);
        TSeriesPointer pointer = series.Pointer();
        pointer.Visible = c.PointerVisible;
        series.SetPointer(pointer);
        TChartPen pen{clYellow, 2, psSolid, c.LineVisible};
        series.SetLinePen(pen);
        FakeCanvas canvas;
        series.DrawLegendSymbol(canvas, {0, 0, 30, 9});
        const std::vector<DrawnItem> lines = canvas.Items(DrawKind::Line);
        ASSERT_EQ(lines.size(), c.Lines);
        if (!lines.empty()) {
            EXPECT_EQ(lines[0].Points, (std::vector<ChartPoint>{{0, 4}, {30, 4}}));
            EXPECT_EQ(lines[0].Pen.Color, clRed);
            EXPECT_EQ(lines[0].Pen.Width, 2);
        }
        const std::vector<DrawnItem> pointers = canvas.Items(DrawKind::Rectangle);
        ASSERT_EQ(pointers.size(), c.PointerVisible ? 1u : 0u);
        if (c.PointerVisible) {
            EXPECT_EQ(pointers[0].Box, c.Pointer);
            EXPECT_EQ(pointers[0].Fill, clRed);
        }
    }
}

TEST(LineSeriesMargins, AskForHalfAPointerAndAPixelOnEachSide) {
    TLineSeries series;
    EXPECT_EQ(series.HorizMargins().First, 0);  // pointers start hidden
    TSeriesPointer pointer = series.Pointer();
    pointer.Visible = true;
    pointer.HorizSize = 6;
    pointer.VertSize = 3;
    series.SetPointer(pointer);
    EXPECT_EQ(series.HorizMargins().First, 7);
    EXPECT_EQ(series.HorizMargins().Second, 7);
    EXPECT_EQ(series.VertMargins().First, 4);
    EXPECT_EQ(series.VertMargins().Second, 4);
}

}  // namespace
}  // namespace gatool
