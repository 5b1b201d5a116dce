// Tests of what an axis draws: value and text labels, ticks, grid, minor ticks and its title.
#include <gtest/gtest.h>

#include <algorithm>

#include "chart/chart_model.h"
#include "chart/line_series.h"
#include "tests/chart/chart_test_printers.h"
#include "tests/chart/fake_canvas.h"

namespace gatool {
namespace {

class AxisDrawing : public testing::Test {
  protected:
    AxisDrawing() { m_series.SetParentChart(&m_chart); }

    // Runs the steps of a drawing for one axis over `plot`.
    void DrawAxis(TChartAxis& axis, const ChartRect& plot) {
        axis.CalcAutomaticRange();
        axis.SetPixelPositions(plot);
        axis.ApplySeriesMargins(m_canvas);
        m_series.CalcFirstLastVisible(plot);
        axis.Draw(m_canvas, plot);
    }

    // Lines of `length` pixels drawn straight down, by their x position.
    std::vector<int> DownwardLines(int length) const {
        std::vector<int> positions;
        for (const DrawnItem& line : m_canvas.Items(DrawKind::Line)) {
            if (line.Points[0].X == line.Points[1].X &&
                line.Points[1].Y - line.Points[0].Y == length) {
                positions.push_back(line.Points[0].X);
            }
        }
        return positions;
    }

    ChartModel m_chart;
    TLineSeries m_series;
    FakeCanvas m_canvas{6, 13};
};

TEST_F(AxisDrawing, LabelsValuesOnWholeStepsDownFromTheTop) {
    // Values 2 to 7 with circle pointers on 300 pixels; labels 20 pixels wide fit 14 times, so the
    // step stays 1 and the widened range 1.914 to 7.086 gets six labels.
    m_canvas = FakeCanvas(4, 13);  // "1.914" and "7.086" are 20 pixels wide
    TSeriesPointer pointer = m_series.Pointer();
    pointer.Visible = true;
    pointer.Style = psCircle;
    m_series.SetPointer(pointer);
    m_series.AddPoint(2, 0, "", clRed);
    m_series.AddPoint(7, 1, "", clRed);
    TChartAxis& axis = m_chart.BottomAxis();
    DrawAxis(axis, {0, 0, 300, 100});

    EXPECT_EQ(axis.LabelStep(), 1);
    const std::vector<AxisLabel> expected{{"7", 295}, {"6", 237}, {"5", 179},
                                          {"4", 121}, {"3", 63},  {"2", 5}};
    EXPECT_EQ(axis.DrawnLabels(), expected);
    EXPECT_EQ(axis.TickPositions(), (std::vector<int>{295, 237, 179, 121, 63, 5}));
    // Centred on the position, hanging below the labels position.
    const DrawnItem first = m_canvas.Items(DrawKind::Text).front();
    EXPECT_EQ(first.Points[0], (ChartPoint{293, axis.LabelsPosition()}));
}

TEST_F(AxisDrawing, FixedRangeOfTwoAndAHalfHasNoMarginsAndLabelsEveryWholeValue) {
    TSeriesPointer pointer = m_series.Pointer();
    pointer.Visible = true;
    m_series.SetPointer(pointer);
    m_series.AddPoint(3300, 0.07, "", clRed);
    TChartAxis& axis = m_chart.LeftAxis();
    axis.SetAxisValuesFormat("#,##0.00");
    axis.SetAxisRange(0, 2.5);
    DrawAxis(axis, {0, 20, 300, 152});

    EXPECT_EQ(axis.RangeMin(), 0);
    EXPECT_EQ(axis.RangeMax(), 2.5);
    const std::vector<AxisLabel> expected{{"2.00", 46}, {"1.00", 99}, {"0.00", 152}};
    EXPECT_EQ(axis.DrawnLabels(), expected);
    // Right-aligned to the labels position and centred on the position vertically.
    const DrawnItem first = m_canvas.Items(DrawKind::Text).front();
    EXPECT_EQ(first.Points[0], (ChartPoint{axis.LabelsPosition() - 24, 46 - 6}));
}

TEST_F(AxisDrawing, ARangeOfZeroHasOneLabelAtTheCentre) {
    m_series.AddPoint(5, 3, "", clRed);
    DrawAxis(m_chart.BottomAxis(), {0, 0, 300, 100});
    DrawAxis(m_chart.LeftAxis(), {0, 0, 300, 100});
    EXPECT_EQ(m_chart.BottomAxis().DrawnLabels(), (std::vector<AxisLabel>{{"5", 150}}));
    EXPECT_EQ(m_chart.LeftAxis().DrawnLabels(), (std::vector<AxisLabel>{{"3", 50}}));
    EXPECT_EQ(m_series.XScreenPos(0), 150);
    EXPECT_EQ(m_series.YScreenPos(0), 50);
}

TEST_F(AxisDrawing, AnAxisWithoutPointsHasOneLabelAtZero) {
    DrawAxis(m_chart.LeftAxis(), {0, 0, 300, 100});
    EXPECT_EQ(m_chart.LeftAxis().DrawnLabels(), (std::vector<AxisLabel>{{"0", 50}}));
}

TEST_F(AxisDrawing, MoreThanTenThousandLabelsShowNoLabelsTicksOrGrid) {
    TChartAxis& axis = m_chart.BottomAxis();
    axis.SetLabelsSeparation(0);  // the step stays 1
    axis.SetAxisRange(0, 20000);
    DrawAxis(axis, {0, 0, 300, 100});
    EXPECT_TRUE(axis.DrawnLabels().empty());
    EXPECT_TRUE(axis.TickPositions().empty());
    EXPECT_EQ(m_canvas.Items(DrawKind::Line).size(), 1u);  // the axis line alone
}

TEST_F(AxisDrawing, WithoutLabelsOnAxisOnlyLabelsInsideTheAxisAreDrawn) {
    TChartAxis& axis = m_chart.BottomAxis();
    axis.SetAxisRange(0, 10);
    axis.SetLabelsOnAxis(false);
    DrawAxis(axis, {0, 0, 100, 100});
    EXPECT_EQ(axis.LabelStep(), 2);
    const std::vector<AxisLabel> expected{{"8", 80}, {"6", 60}, {"4", 40}, {"2", 20}};
    EXPECT_EQ(axis.DrawnLabels(), expected);
}

TEST_F(AxisDrawing, TicksFollowTheLabelsUnlessTickOnLabelsOnlyIsOff) {
    struct Case {
        bool Labels;
        bool TickOnLabelsOnly;
        std::size_t Ticks;
    };
    const Case cases[] = {{true, true, 6}, {false, true, 0}, {false, false, 6}, {true, false, 6}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Labels << c.TickOnLabelsOnly);
        TChartAxis& axis = m_chart.BottomAxis();
        axis.SetAxisRange(0, 10);
        axis.SetLabels(c.Labels);
        axis.SetTickOnLabelsOnly(c.TickOnLabelsOnly);
        DrawAxis(axis, {0, 0, 100, 100});
        EXPECT_EQ(axis.TickPositions().size(), c.Ticks);
        EXPECT_EQ(axis.DrawnLabels().size(), c.Labels ? 6u : 0u);
    }
}

TEST_F(AxisDrawing, GridLinesCrossThePlotInsideItsFrameAtEveryTick) {
    TChartAxis& axis = m_chart.LeftAxis();
    axis.SetAxisRange(0, 10);
    TChartPen grid = axis.Grid();
    grid.Color = clNotSet;  // counts as grey
    axis.SetGrid(grid);
    DrawAxis(axis, {10, 0, 110, 100});
    std::vector<DrawnItem> gridLines;
    for (const DrawnItem& line : m_canvas.Items(DrawKind::Line)) {
        if (line.Pen.Style == psDot) {
            gridLines.push_back(line);
        }
    }
    ASSERT_EQ(gridLines.size(), axis.TickPositions().size());
    for (std::size_t i = 0; i < gridLines.size(); ++i) {
        const int y = axis.TickPositions()[i];
        EXPECT_EQ(gridLines[i].Points, (std::vector<ChartPoint>{{11, y}, {110, y}}));
        EXPECT_EQ(gridLines[i].Pen.Color, clGray);
    }
}

TEST_F(AxisDrawing, MinorTicksDivideEveryGapAndContinueBeyondTheOuterTicks) {
    // One pixel per unit from -20 to 110, labels every 30: ticks at 110, 80, 50 and 20 pixels.
    TChartAxis& axis = m_chart.BottomAxis();
    axis.SetAxisRange(-20, 110);
    axis.SetIncrement(30);
    DrawAxis(axis, {0, 0, 130, 100});
    ASSERT_EQ(axis.TickPositions(), (std::vector<int>{110, 80, 50, 20}));
    // A quarter of 30 pixels is 7.5, rounded to 8; three quarters 22.5, rounded to 22. Beyond the
    // ends only positions strictly inside the axis are drawn.
    std::vector<int> minor = DownwardLines(axis.MinorTickLength());
    std::sort(minor.begin(), minor.end());
    EXPECT_EQ(minor, (std::vector<int>{5, 12, 28, 35, 42, 58, 65, 72, 88, 95, 102, 118, 125}));
    std::vector<int> major = DownwardLines(axis.TickLength());
    EXPECT_EQ(major, axis.TickPositions());
}

TEST_F(AxisDrawing, HorizontalAxisShowsThePointLabelsWhereTheyDoNotOverlap) {
    // Eleven points 30 pixels apart with labels 36 pixels wide: a label needs half its width
    // plus 2 percent per separation point clear of the one drawn before, so every other one shows.
    for (int i = 0; i <= 10; ++i) {
        m_series.AddPoint(10 * i, 0, "lab" + std::to_string(100 + 10 * i), clRed);
    }
    TChartAxis& axis = m_chart.BottomAxis();
    axis.SetAxisRange(0, 100);
    DrawAxis(axis, {0, 0, 300, 100});
    const std::vector<AxisLabel> expected{{"lab100", 0},   {"lab120", 60},  {"lab140", 120},
                                          {"lab160", 180}, {"lab180", 240}, {"lab200", 300}};
    EXPECT_EQ(axis.DrawnLabels(), expected);
    EXPECT_EQ(axis.TickPositions(), (std::vector<int>{0, 60, 120, 180, 240, 300}));
}

TEST_F(AxisDrawing, TextLabelsComeFromTheFirstSeriesLongEnoughAndOnlyWithinTheRange) {
    TLineSeries longer;
    longer.SetParentChart(&m_chart);
    m_series.AddPoint(0, 0, "a0", clRed);
    m_series.AddPoint(10, 0, "a1", clRed);
    for (const double x : {0.0, 10.0, 20.0, 130.0}) {
        longer.AddPoint(x, 0, "b" + std::to_string(longer.Count()), clRed);
    }
    longer.AddPoint(30, 0, " ", clRed);  // a single space is still a label
    TChartAxis& axis = m_chart.BottomAxis();
    axis.SetAxisRange(0, 100);
    axis.CalcAutomaticRange();
    axis.SetPixelPositions({0, 0, 300, 100});
    m_series.CalcFirstLastVisible({0, 0, 300, 100});
    longer.CalcFirstLastVisible({0, 0, 300, 100});
    axis.Draw(m_canvas, {0, 0, 300, 100});
    const std::vector<AxisLabel> expected{{"a0", 0}, {"a1", 30}, {"b2", 60}, {" ", 90}};
    EXPECT_EQ(axis.DrawnLabels(), expected);
}

TEST_F(AxisDrawing, TextLabelsNeedAVisiblePoint) {
    m_series.AddPoint(200, 0, "far", clRed);
    TChartAxis& axis = m_chart.BottomAxis();
    axis.SetAxisRange(0, 100);
    DrawAxis(axis, {0, 0, 300, 100});
    EXPECT_TRUE(axis.DrawnLabels().empty());
}

TEST_F(AxisDrawing, VerticalAxisShowsValuesEvenWhenPointsHaveLabels) {
    m_series.AddPoint(0, 0, "a", clRed);
    m_series.AddPoint(1, 4, "b", clRed);
    DrawAxis(m_chart.LeftAxis(), {0, 0, 300, 100});
    EXPECT_EQ(m_chart.LeftAxis().DrawnLabels().front().Text, "4");
}

TEST_F(AxisDrawing, TitlesAreCentredAlongTheAxisAndTurnedOnTheLeft) {
    m_series.AddPoint(0, 0, "", clRed);
    TChartAxis& bottom = m_chart.BottomAxis();
    TChartAxis& left = m_chart.LeftAxis();
    bottom.SetTitle({"Wavelength, A", {}});  // 13 characters, 78 pixels
    left.SetTitle({"Loss", {}});             // 24 pixels
    ChartRect rect{0, 0, 400, 200};
    bottom.CalcAutomaticRange();
    left.CalcAutomaticRange();
    bottom.TakeRoom(m_canvas, rect);
    left.TakeRoom(m_canvas, rect);
    DrawAxis(bottom, rect);
    DrawAxis(left, rect);
    const std::vector<DrawnItem> texts = m_canvas.Items(DrawKind::Text);
    const auto title = std::find_if(texts.begin(), texts.end(), [](const DrawnItem& text) {
        return text.Text == "Wavelength, A";
    });
    ASSERT_NE(title, texts.end());
    EXPECT_EQ(title->Points[0], (ChartPoint{bottom.PixelCentre() - 39, 200 - 13}));
    const std::vector<DrawnItem> turned = m_canvas.Items(DrawKind::TurnedText);
    ASSERT_EQ(turned.size(), 1u);
    EXPECT_EQ(turned[0].Text, "Loss");
    EXPECT_EQ(turned[0].Points[0], (ChartPoint{0, left.PixelCentre() + 12}));
}

}  // namespace
}  // namespace gatool
