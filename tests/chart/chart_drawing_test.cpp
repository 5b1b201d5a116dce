// Tests of one drawing of a whole chart: its order, the layout it leaves, the repaint flag and the
// axis state that later reads see.
#include <gtest/gtest.h>

#include <algorithm>

#include "chart/chart_model.h"
#include "chart/line_series.h"
#include "tests/chart/chart_test_printers.h"
#include "tests/chart/fake_canvas.h"

namespace gatool {
namespace {

class ChartDrawing : public testing::Test {
  protected:
    ChartDrawing() {
        m_slit1.SetTitle("Slit 1");
        m_slit5.SetTitle("Slit 5");
        m_slit1.SetParentChart(&m_chart);
        m_slit5.SetParentChart(&m_chart);
        m_chart.Title().SetText("T");
    }

    void AddPoints() {
        m_slit1.AddPoint(0, 0, "", clNotSet);
        m_slit1.AddPoint(10, 5, "", clNotSet);
        m_slit5.AddPoint(5, 2, "", clNotSet);
    }

    void Draw() {
        m_canvas.Clear();
        m_chart.Draw(m_canvas, 466, 172);
    }

    // Index of the first drawn item of `kind` that satisfies `test`, or -1.
    template <typename Test>
    long IndexOf(DrawKind kind, Test test) const {
        const auto& drawing = m_canvas.Drawing();
        const auto found = std::find_if(drawing.begin(), drawing.end(), [&](const DrawnItem& item) {
            return item.Kind == kind && test(item);
        });
        return found == drawing.end() ? -1 : found - drawing.begin();
    }

    ChartModel m_chart;
    TLineSeries m_slit1;
    TLineSeries m_slit5;
    FakeCanvas m_canvas{6, 13};
};

TEST_F(ChartDrawing, LaysOutTitleLegendAxesAndPlot) {
    AddPoints();
    Draw();
    const ChartLayout& layout = m_chart.Layout();
    EXPECT_EQ(layout.Panel, (ChartRect{0, 0, 466, 172}));
    EXPECT_EQ(layout.Chart, (ChartRect{14, 7, 452, 165}));
    EXPECT_EQ(layout.Legend.Rect, (ChartRect{395, 17, 447, 45}));
    // Centred over the width that the legend left: "T" is 6 pixels wide.
    EXPECT_EQ(layout.Title, (ChartRect{14, 7, 384, 20}));
    EXPECT_EQ(m_canvas.Items(DrawKind::Text)[2].Points[0], (ChartPoint{196, 7}));
    // Bottom: 13 for labels and 6 for ticks; left: "5" and a space, and 6 for ticks.
    EXPECT_EQ(layout.Plot, (ChartRect{32, 25, 384, 146}));

    const TChartAxis& bottom = m_chart.BottomAxis();
    const TChartAxis& left = m_chart.LeftAxis();
    EXPECT_EQ(bottom.PixelStart(), 32);
    EXPECT_EQ(bottom.PixelEnd(), 384);
    EXPECT_EQ(left.PixelStart(), 25);
    EXPECT_EQ(left.PixelEnd(), 146);
    EXPECT_EQ(bottom.AxisPosition(), 146);
    EXPECT_EQ(left.AxisPosition(), 32);
    EXPECT_EQ(m_slit1.FirstVisible(), 0);
    EXPECT_EQ(m_slit1.LastVisible(), 1);
    EXPECT_EQ(m_slit5.LastVisible(), 0);
    EXPECT_EQ((ChartPoint{m_slit1.XScreenPos(1), m_slit1.YScreenPos(1)}), (ChartPoint{384, 25}));
}

TEST_F(ChartDrawing, DrawsPanelLegendTitleFrameAxesAndSeriesInThatOrder) {
    AddPoints();
    Draw();
    const long panel = IndexOf(DrawKind::FillRect, [](const DrawnItem& i) {
        return i.Box == ChartRect{0, 0, 466, 172};
    });
    const long legend =
        IndexOf(DrawKind::Text, [](const DrawnItem& i) { return i.Text == "Slit 1"; });
    const long title = IndexOf(DrawKind::Text, [](const DrawnItem& i) { return i.Text == "T"; });
    const long frame = IndexOf(DrawKind::Rectangle, [](const DrawnItem& i) {
        return i.Box == ChartRect{32, 25, 385, 147};
    });
    const long bottomLabels =
        IndexOf(DrawKind::Text, [](const DrawnItem& i) { return i.Text == "10"; });
    const long leftLabels =
        IndexOf(DrawKind::Text, [](const DrawnItem& i) { return i.Text == "5"; });
    const long clip = IndexOf(DrawKind::ClipTo, [](const DrawnItem& i) {
        return i.Box == ChartRect{32, 25, 385, 147};
    });
    const long firstSegment = IndexOf(DrawKind::Line, [](const DrawnItem& i) {
        return i.Points == std::vector<ChartPoint>{{32, 146}, {384, 25}};
    });
    EXPECT_EQ(panel, 0);
    EXPECT_LT(panel, legend);
    EXPECT_LT(legend, title);
    EXPECT_LT(title, frame);
    EXPECT_LT(frame, bottomLabels);
    EXPECT_LT(bottomLabels, leftLabels);
    EXPECT_LT(leftLabels, clip);
    EXPECT_LT(clip, firstSegment);
}

TEST_F(ChartDrawing, GetsItsChartRectangleFromThePercentMargins) {
    struct Case {
        int Width;
        int Height;
        ChartRect Chart;
    };
    const Case cases[] = {
        {466, 172, {14, 7, 452, 165}},
        {400, 250, {12, 10, 388, 240}},
        {50, 50, {2, 2, 48, 48}},  // 1.5 rounds away from zero
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Width << " x " << c.Height);
        m_chart.Draw(m_canvas, c.Width, c.Height);
        EXPECT_EQ(m_chart.Layout().Chart, c.Chart);
    }
}

TEST_F(ChartDrawing, WithoutALegendTheTitleSpansTheChartRectangle) {
    m_chart.Legend().SetVisible(false);
    Draw();
    EXPECT_EQ(m_chart.Layout().Legend.Rect, ChartRect{});
    EXPECT_EQ(m_chart.Layout().Title, (ChartRect{14, 7, 452, 20}));
}

TEST_F(ChartDrawing, OfSeriesWithoutPointsShowsFrameAxesWithOneLabelAndLegendRows) {
    Draw();
    EXPECT_EQ(m_chart.BottomAxis().DrawnLabels(), (std::vector<AxisLabel>{{"0", 208}}));
    EXPECT_EQ(m_chart.LeftAxis().DrawnLabels(), (std::vector<AxisLabel>{{"0", 85}}));
    EXPECT_NE(m_chart.Layout().Legend.Rect, ChartRect{});
    EXPECT_EQ(m_slit1.FirstVisible(), -1);
    EXPECT_EQ(m_canvas.Items(DrawKind::Rectangle).size(), 2u);  // legend and plot frame
}

TEST_F(ChartDrawing, WithoutActiveSeriesShowsNeitherAxesNorLegend) {
    m_slit1.SetActive(false);
    m_slit5.SetActive(false);
    Draw();
    EXPECT_FALSE(m_chart.BottomAxis().IsShown());
    EXPECT_EQ(m_chart.Layout().Legend.Rect, ChartRect{});
    EXPECT_EQ(m_chart.Layout().Plot, (ChartRect{14, 25, 452, 165}));
    EXPECT_EQ(m_canvas.Texts(), (std::vector<std::string>{"T"}));
}

TEST_F(ChartDrawing, LeavesTheAutomaticRangeForLaterReadsAndKeepsItWhenFixed) {
    AddPoints();
    EXPECT_EQ(m_chart.LeftAxis().Maximum(), 0);  // not drawn yet
    Draw();
    EXPECT_EQ(m_chart.LeftAxis().Maximum(), 5);
    EXPECT_EQ(m_chart.BottomAxis().Maximum(), 10);

    m_chart.LeftAxis().SetAutomatic(false);
    m_slit1.AddPoint(20, 40, "", clNotSet);
    Draw();
    EXPECT_EQ(m_chart.LeftAxis().Maximum(), 5);
    EXPECT_EQ(m_chart.LeftAxis().RangeMax(), 5);

    m_chart.LeftAxis().SetAxisRange(0, 2.5);
    m_chart.LeftAxis().SetAutomatic(true);
    Draw();
    EXPECT_EQ(m_chart.LeftAxis().Maximum(), 40);
}

TEST_F(ChartDrawing, MapsPixelsToValuesByTheAxesOfTheLastDrawing) {
    AddPoints();
    Draw();  // the plot runs from (32, 25) to (384, 146)
    EXPECT_EQ(m_slit1.XValueAtPixel(32), 0);
    EXPECT_EQ(m_slit1.XValueAtPixel(384), 10);
    EXPECT_EQ(m_slit5.YValueAtPixel(25), 5);
    EXPECT_EQ(m_slit5.YValueAtPixel(146), 0);
    m_slit1.AddPoint(20, 10, "", clNotSet);  // not drawn yet
    EXPECT_EQ(m_slit1.XValueAtPixel(384), 10);
}

TEST_F(ChartDrawing, LeavesTheRepaintFlagClearedUntilTheNextChange) {
    int invalidations = 0;
    m_chart.SetInvalidationHandler([&] { ++invalidations; });
    EXPECT_TRUE(m_chart.NeedsDrawing());
    m_chart.SetColor(clWhite);
    EXPECT_EQ(invalidations, 0);  // not drawn yet: nothing to tell the window
    Draw();
    EXPECT_FALSE(m_chart.NeedsDrawing());
    EXPECT_EQ(invalidations, 0);  // drawing stores ranges without invalidating
    m_slit1.AddPoint(1, 1, "", clNotSet);
    m_chart.SetColor(clBlack);
    EXPECT_TRUE(m_chart.NeedsDrawing());
    EXPECT_EQ(invalidations, 1);  // once for the changes between two drawings
    Draw();
    m_slit1.AddPoint(2, 1, "", clNotSet);
    EXPECT_EQ(invalidations, 2);
}

TEST_F(ChartDrawing, DrawsTheOuterBevelInTheDesktopsColours) {
    struct Case {
        TPanelBevel Bevel;
        std::vector<TColor> Colors;  // top, left, bottom, right
    };
    const Case cases[] = {
        {bvRaised, {clBtnHighlight, clBtnHighlight, clBtnShadow, clBtnShadow}},
        {bvLowered, {clBtnShadow, clBtnShadow, clBtnHighlight, clBtnHighlight}},
        {bvNone, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Bevel);
        m_chart.SetBevelOuter(c.Bevel);
        m_slit1.SetActive(false);
        m_slit5.SetActive(false);
        Draw();
        std::vector<TColor> colors;
        for (const DrawnItem& line : m_canvas.Items(DrawKind::Line)) {
            colors.push_back(line.Pen.Color);
        }
        EXPECT_EQ(colors, c.Colors);
    }
}

TEST_F(ChartDrawing, KeepsTheMarkOfTheHighestPointInsideThePlotBelowTheTitle) {
    AddPoints();
    TSeriesMarks marks = m_slit1.Marks();
    marks.Visible = true;
    m_slit1.SetMarks(marks);
    Draw();
    std::vector<ChartRect> boxes;
    for (const DrawnItem& item : m_canvas.Items(DrawKind::Rectangle)) {
        if (item.Fill == TColor{0x80FFFF}) {
            boxes.push_back(item.Box);
        }
    }
    ASSERT_EQ(boxes.size(), 2u);
    // The box of the point (10, 5), on its arrow of 8 pixels.
    EXPECT_EQ(boxes[1].Bottom, m_slit1.YScreenPos(1) - 7);
    EXPECT_GT(boxes[1].Top, m_chart.Layout().Plot.Top);  // below the plot frame's top line
}

TEST_F(ChartDrawing, ClipsSeriesToThePlotButNotTheirMarks) {
    AddPoints();
    TSeriesMarks marks = m_slit5.Marks();
    marks.Visible = true;
    m_slit5.SetMarks(marks);
    Draw();
    const long markBox =
        IndexOf(DrawKind::Rectangle, [](const DrawnItem& i) { return i.Fill == TColor{0x80FFFF}; });
    ASSERT_GE(markBox, 0);
    // The last clipping change before the mark lifted the clip.
    long change = markBox - 1;
    while (change >= 0 &&
           m_canvas.Drawing()[static_cast<std::size_t>(change)].Kind != DrawKind::ClipTo &&
           m_canvas.Drawing()[static_cast<std::size_t>(change)].Kind != DrawKind::NoClip) {
        --change;
    }
    ASSERT_GE(change, 0);
    EXPECT_EQ(m_canvas.Drawing()[static_cast<std::size_t>(change)].Kind, DrawKind::NoClip);

    marks.Clip = true;
    m_slit5.SetMarks(marks);
    Draw();
    EXPECT_EQ(m_canvas.Drawing().back().Kind, DrawKind::NoClip);
    const auto& clipped = m_canvas.Drawing();
    EXPECT_EQ(clipped[clipped.size() - 2].Kind,
              DrawKind::Text);  // the mark's text, inside the clip
    EXPECT_EQ(clipped[clipped.size() - 3].Kind, DrawKind::Rectangle);
}

TEST_F(ChartDrawing, DrawsTheMarksOfEverySeriesOverTheLinesOfLaterSeries) {
    AddPoints();
    TSeriesMarks marks = m_slit1.Marks();
    marks.Visible = true;
    m_slit1.SetMarks(marks);
    TSeriesPointer pointer = m_slit5.Pointer();
    pointer.Visible = true;
    m_slit5.SetPointer(pointer);
    Draw();
    const long markBox =
        IndexOf(DrawKind::Rectangle, [](const DrawnItem& i) { return i.Fill == TColor{0x80FFFF}; });
    const long laterPointer = IndexOf(
        DrawKind::Rectangle, [&](const DrawnItem& i) { return i.Fill == m_slit5.SeriesColor(); });
    ASSERT_GE(markBox, 0);
    ASSERT_GE(laterPointer, 0);
    EXPECT_LT(laterPointer, markBox);
}

}  // namespace
}  // namespace gatool
