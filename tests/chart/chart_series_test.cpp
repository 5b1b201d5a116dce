// Tests of series points: placement, colours, labels, attachment to a chart and invalidation.
#include "chart/chart_series.h"

#include <gtest/gtest.h>

#include <memory>

#include "base/exceptions.h"
#include "chart/chart_model.h"
#include "chart/line_series.h"
#include "tests/chart/fake_canvas.h"

namespace gatool {
namespace {

class SeriesTest : public testing::Test {
  protected:
    SeriesTest() {
        m_chart.SetInvalidationHandler([this] { ++m_invalidations; });
        m_series.SetSeriesColor(clGray);
        m_series.SetParentChart(&m_chart);
        Redraw();
    }

    // The window hears of the first change after a drawing only.
    void Redraw() { m_chart.Draw(m_canvas, 400, 250); }

    ChartModel m_chart;
    TLineSeries m_series;
    FakeCanvas m_canvas;
    int m_invalidations = 0;
};

TEST_F(SeriesTest, AddPointPlacesByXAndMovesYColourAndLabelAlong) {
    EXPECT_EQ(m_series.AddPoint(1, 10, "one", clRed), 0);
    EXPECT_EQ(m_series.AddPoint(3, 30, "three", clGreen), 1);
    EXPECT_EQ(m_series.AddPoint(2, 20, "two", clBlue), 1);
    ASSERT_EQ(m_series.Count(), 3);
    const double xs[] = {1, 2, 3};
    const double ys[] = {10, 20, 30};
    const TColor colors[] = {clRed, clBlue, clGreen};
    const char* labels[] = {"one", "two", "three"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(m_series.XValue(i), xs[i]);
        EXPECT_EQ(m_series.YValue(i), ys[i]);
        EXPECT_EQ(m_series.PointColor(i), colors[i]);
        EXPECT_EQ(m_series.PointLabel(i), labels[i]);
    }
}

TEST_F(SeriesTest, AddPointPutsEqualXValuesBehindTheirEqualsAndSmallerOnesFirst) {
    EXPECT_EQ(m_series.AddPoint(2, 1, "", clNotSet), 0);
    EXPECT_EQ(m_series.AddPoint(2, 2, "", clNotSet), 1);
    EXPECT_EQ(m_series.AddPoint(2, 3, "", clNotSet), 2);
    EXPECT_EQ(m_series.AddPoint(1, 4, "", clNotSet), 0);
    EXPECT_EQ(m_series.YValue(1), 1);
    EXPECT_EQ(m_series.YValue(3), 3);
}

TEST_F(SeriesTest, AddPointWithAnEmptyLabelStoresEmptyText) {
    m_series.AddPoint(1, 1, "", clRed);
    EXPECT_EQ(m_series.PointLabel(0), "");
}

TEST_F(SeriesTest, PointColourFallsBackToTheSeriesColourOrThePalette) {
    m_series.AddPoint(0, 0, "", clNotSet);
    m_series.AddPoint(1, 0, "", clRed);
    m_series.AddPoint(2, 0, "", clNotSet);
    EXPECT_EQ(m_series.PointColor(0), clGray);
    EXPECT_EQ(m_series.PointColor(1), clRed);
    EXPECT_EQ(m_series.PointColor(3), clGray);  // beyond the colour list

    m_series.SetColorEachPoint(true);
    EXPECT_EQ(m_series.PointColor(0), PaletteColor(0));
    EXPECT_EQ(m_series.PointColor(1), clRed);
    EXPECT_EQ(m_series.PointColor(2), PaletteColor(2));
}

TEST_F(SeriesTest, ClearPointsEmptiesEverythingAndInvalidatesEvenWhenEmpty) {
    m_series.ClearPoints();
    EXPECT_EQ(m_invalidations, 1);
    m_series.AddPoint(1, 2, "a", clRed);
    m_series.ClearPoints();
    EXPECT_EQ(m_series.Count(), 0);
    EXPECT_EQ(m_series.XValues().Count(), 0);
    EXPECT_EQ(m_series.YValues().Count(), 0);
    EXPECT_EQ(m_series.YValues().MaxValue(), 0);
}

TEST_F(SeriesTest, OnlyAnActiveSeriesInvalidatesWhenPointsChange) {
    m_series.AddPoint(1, 2, "", clRed);
    EXPECT_EQ(m_invalidations, 1);
    m_series.SetActive(false);
    Redraw();
    m_invalidations = 0;
    m_series.AddPoint(2, 2, "", clRed);
    m_series.ClearPoints();
    EXPECT_EQ(m_invalidations, 0);
    EXPECT_FALSE(m_chart.NeedsDrawing());
}

TEST_F(SeriesTest, APropertyInvalidatesOnlyWhenItsValueChanges) {
    m_series.SetTitle("Slit 1");
    EXPECT_EQ(m_invalidations, 1);
    Redraw();
    m_series.SetTitle("Slit 1");
    TChartPen pen = m_series.LinePen();
    m_series.SetLinePen(pen);
    EXPECT_EQ(m_invalidations, 1);
    EXPECT_FALSE(m_chart.NeedsDrawing());
    pen.Width = 3;
    m_series.SetLinePen(pen);
    EXPECT_EQ(m_invalidations, 2);
}

TEST(SeriesColour, UnsetTakesTheFirstPaletteColourThatNoOtherSeriesUses) {
    ChartModel chart;
    TLineSeries red;
    red.SetSeriesColor(PaletteColor(0));
    red.SetParentChart(&chart);
    TLineSeries yellow;
    yellow.SetSeriesColor(PaletteColor(2));
    yellow.SetParentChart(&chart);
    TLineSeries unset;
    unset.SetParentChart(&chart);
    EXPECT_EQ(unset.SeriesColor(), PaletteColor(1));
    TLineSeries next;
    next.SetParentChart(&chart);
    EXPECT_EQ(next.SeriesColor(), PaletteColor(3));
}

TEST(SeriesList, KeepsTheOrderInWhichSeriesJoinAndForgetsSeriesThatLeave) {
    ChartModel chart;
    TLineSeries first;
    TLineSeries second;
    second.SetParentChart(&chart);
    first.SetParentChart(&chart);
    EXPECT_EQ(chart.SeriesList(), (std::vector<TChartSeries*>{&second, &first}));
    {
        TLineSeries passing;
        passing.SetParentChart(&chart);
        EXPECT_EQ(chart.SeriesList().size(), 3u);
    }
    EXPECT_EQ(chart.SeriesList(), (std::vector<TChartSeries*>{&second, &first}));
    second.SetParentChart(&chart);  // already there: stays in place
    second.SetParentChart(nullptr);
    second.SetParentChart(&chart);  // joins anew at the end
    EXPECT_EQ(chart.SeriesList(), (std::vector<TChartSeries*>{&first, &second}));
}

TEST(SeriesList, SeriesOutlivingTheirChartAreLeftDetached) {
    TLineSeries series;
    {
        ChartModel chart;
        series.SetParentChart(&chart);
    }
    EXPECT_EQ(series.ParentChart(), nullptr);
    EXPECT_THROW(series.XValueAtPixel(0), Exception);
}

}  // namespace
}  // namespace gatool
