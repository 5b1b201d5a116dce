// Tests of which part of a chart lies under a position, by the layout of the last drawing, and of
// which parts a press may start a zoom on.
#include <gtest/gtest.h>

#include "chart/chart_model.h"
#include "chart/line_series.h"
#include "tests/chart/fake_canvas.h"

namespace gatool {
namespace {

class ClickedPart : public testing::Test {
  protected:
    ClickedPart() {
        m_slit1.SetTitle("Slit 1");
        m_slit5.SetTitle("Slit 5");
        m_slit1.SetParentChart(&m_chart);
        m_slit5.SetParentChart(&m_chart);
        m_chart.Title().SetText("T");
        m_slit1.AddPoint(0, 0, "", clNotSet);
        m_slit1.AddPoint(10, 5, "", clNotSet);
        m_slit5.AddPoint(0, 5, "", clNotSet);
        m_slit5.AddPoint(10, 0, "", clNotSet);
        Draw();
    }

    void Draw() { m_chart.Draw(m_canvas, 466, 172); }

    ChartPoint PlotCentre() const {
        const ChartRect& plot = m_chart.Layout().Plot;
        return {(plot.Left + plot.Right) / 2, (plot.Top + plot.Bottom) / 2};
    }

    ChartModel m_chart;
    TLineSeries m_slit1;
    TLineSeries m_slit5;
    FakeCanvas m_canvas{6, 13};
};

TEST_F(ClickedPart, ClassifiesTheSeriesAxesTitlePlotAndLegend) {
    const ChartLayout& layout = m_chart.Layout();
    const TChartAxis& bottom = m_chart.BottomAxis();
    const TChartAxis& left = m_chart.LeftAxis();
    const ChartPoint centre = PlotCentre();
    const ChartPoint slit1End{m_slit1.XScreenPos(1), m_slit1.YScreenPos(1)};
    struct Case {
        ChartPoint At;
        TChartClickedPartStyle Part;
        const char* What;
    };
    const Case cases[] = {
        {slit1End, cpSeries, "the end of a line"},
        {{centre.X, centre.Y - 20}, cpChartRect, "the plot off the lines"},
        {{centre.X, bottom.AxisPosition() - 3}, cpAxis, "3 pixels above the bottom axis"},
        {{centre.X, bottom.AxisPosition() - 4}, cpChartRect, "4 pixels above it"},
        {{centre.X, bottom.LabelsPosition() - 1}, cpAxis, "the bottom axis' last tick row"},
        {{centre.X, bottom.LabelsPosition()}, cpNone, "its labels"},
        {{left.AxisPosition() + 2, centre.Y - 20}, cpAxis, "2 pixels right of the left axis"},
        {{left.LabelsPosition(), centre.Y - 20}, cpAxis, "the left axis' outer tick column"},
        {{left.LabelsPosition() - 1, centre.Y - 20}, cpNone, "its labels"},
        {{layout.Title.Left + 1, layout.Title.Top + 1}, cpTitle, "the title"},
        {{layout.Legend.Rect.Left + 1, layout.Legend.Rect.Top + 1}, cpLegend, "a legend row"},
        {{layout.Legend.Rect.Left + 1, layout.Legend.Rect.Top}, cpNone, "the legend's top edge"},
        {{0, 0}, cpNone, "the panel's corner"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        EXPECT_EQ(m_chart.ClickedPart(c.At.X, c.At.Y).Part, c.Part);
    }
}

TEST_F(ClickedPart, StartsAZoomOnlyOnASeriesAnAxisOrThePlot) {
    const ChartLayout& layout = m_chart.Layout();
    const ChartPoint centre = PlotCentre();
    const ChartPoint onSeries{m_slit1.XScreenPos(0), m_slit1.YScreenPos(0)};
    const ChartPoint onAxis{centre.X, m_chart.BottomAxis().AxisPosition() + 1};
    const ChartPoint onTitle{layout.Title.Left + 1, layout.Title.Top + 1};
    const ChartPoint onLegend{layout.Legend.Rect.Left + 1, layout.Legend.Rect.Top + 1};
    struct Case {
        ChartPoint At;
        bool Zooms;
        const char* What;
    };
    const Case cases[] = {
        {onSeries, true, "a series"},      {onAxis, true, "an axis"},
        {centre, true, "the plot"},        {onTitle, false, "the title"},
        {onLegend, false, "a legend row"}, {{0, 0}, false, "the panel"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        m_chart.MouseDown(mbLeft, {}, c.At.X, c.At.Y);
        EXPECT_EQ(m_chart.ZoomRectangle().has_value(), c.Zooms);
        m_chart.MouseUp(mbLeft, {}, c.At.X, c.At.Y);
    }
}

TEST_F(ClickedPart, ReportsTheLaterOfTwoSeriesWhereTheyCross) {
    // The lines cross in the middle of the plot.
    const ChartPoint crossing{(m_slit1.XScreenPos(0) + m_slit1.XScreenPos(1)) / 2,
                              (m_slit1.YScreenPos(0) + m_slit1.YScreenPos(1)) / 2};
    ASSERT_EQ(m_slit1.PointIndexAt(crossing.X, crossing.Y), 0);
    ASSERT_EQ(m_slit5.PointIndexAt(crossing.X, crossing.Y), 0);
    EXPECT_EQ(m_chart.ClickedPart(crossing.X, crossing.Y),
              (TChartClickedPart{cpSeries, &m_slit5, 0}));
    m_slit5.SetActive(false);
    EXPECT_EQ(m_chart.ClickedPart(crossing.X, crossing.Y),
              (TChartClickedPart{cpSeries, &m_slit1, 0}));
}

TEST_F(ClickedPart, FindsNoPlotWithoutAnActiveSeries) {
    m_slit1.SetActive(false);
    m_slit5.SetActive(false);
    const ChartPoint centre = PlotCentre();  // of the drawing with active series
    EXPECT_EQ(m_chart.ClickedPart(centre.X, centre.Y).Part, cpNone);
    EXPECT_EQ(m_chart.ClickedPart(centre.X, m_chart.BottomAxis().AxisPosition() + 1).Part, cpNone);
}

TEST_F(ClickedPart, FindsNothingBeforeTheFirstDrawing) {
    ChartModel fresh;
    TLineSeries series;
    series.SetParentChart(&fresh);
    series.AddPoint(0, 0, "", clNotSet);
    for (const ChartPoint at : {ChartPoint{0, 0}, ChartPoint{200, 125}}) {
        EXPECT_EQ(fresh.ClickedPart(at.X, at.Y).Part, cpNone);
    }
}

}  // namespace
}  // namespace gatool
