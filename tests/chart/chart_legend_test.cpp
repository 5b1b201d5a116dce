// Tests of the legend: its rows, its geometry, its shadow and frame, and the room it takes.
#include "chart/chart_legend.h"

#include <gtest/gtest.h>

#include "chart/chart_exceptions.h"
#include "chart/chart_model.h"
#include "chart/line_series.h"
#include "tests/chart/chart_test_printers.h"
#include "tests/chart/fake_canvas.h"

namespace gatool {
namespace {

class LegendDrawing : public testing::Test {
  protected:
    LegendDrawing() {
        m_slit1.SetTitle("Slit 1");
        m_slit5.SetTitle("Slit 5");
        m_slit1.SetParentChart(&m_chart);
        m_slit5.SetParentChart(&m_chart);
    }

    LegendLayout Draw() { return m_chart.Legend().Draw(m_canvas, Panel, m_rect); }

    // A 466 by 172 chart with the default margins.
    static constexpr ChartRect Panel{0, 0, 466, 172};
    ChartModel m_chart;
    TLineSeries m_slit1;
    TLineSeries m_slit5;
    FakeCanvas m_canvas{6, 13};
    ChartRect m_rect{14, 7, 452, 165};
};

TEST_F(LegendDrawing, StandsAtTheRightWithOneRowPerActiveSeries) {
    // Rows 13 high, texts 36 wide; 10 % of 172 down; a frame of 1 and a shadow of 3.
    const LegendLayout layout = Draw();
    EXPECT_EQ(layout.Rect, (ChartRect{395, 17, 447, 45}));
    EXPECT_EQ(layout.RowHeight, 13);
    EXPECT_EQ(layout.ColorWidth, 6);  // 12 % of 36 + 10

    const std::vector<DrawnItem> fills = m_canvas.Items(DrawKind::FillRect);
    ASSERT_EQ(fills.size(), 1u);  // the shadow, reaching 3 + 1 beyond the box
    EXPECT_EQ(fills[0].Box, (ChartRect{398, 20, 451, 49}));
    EXPECT_EQ(fills[0].Fill, clBlack);
    const std::vector<DrawnItem> boxes = m_canvas.Items(DrawKind::Rectangle);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Box, (ChartRect{395, 17, 448, 46}));
    EXPECT_EQ(boxes[0].Fill, clWhite);
    EXPECT_EQ(boxes[0].Pen.Color, clBlack);
    // The shadow lies under the box.
    EXPECT_EQ(m_canvas.Drawing()[0].Kind, DrawKind::FillRect);

    const std::vector<DrawnItem> texts = m_canvas.Items(DrawKind::Text);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].Text, "Slit 1");
    EXPECT_EQ(texts[0].Points[0], (ChartPoint{409, 18}));
    EXPECT_EQ(texts[1].Points[0], (ChartPoint{409, 31}));
    // The symbols: lines through colour boxes from 399 to 405.
    const std::vector<DrawnItem> lines = m_canvas.Items(DrawKind::Line);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].Points, (std::vector<ChartPoint>{{399, 24}, {405, 24}}));

    // The chart gives way: to the legend's left edge, then 3 % of what is left.
    EXPECT_EQ(m_rect, (ChartRect{14, 7, 384, 165}));
}

TEST_F(LegendDrawing, FollowsColourWidthShadowAndFrame) {
    struct Case {
        const char* Name;
        int ColorWidth;
        int ShadowSize;
        bool Frame;
        ChartRect Legend;
        std::optional<ChartRect> Shadow;
        ChartRect Box;
    };
    const Case cases[] = {
        {"ColourBoxesAsWideAsTheText", 100, 0, true, {358, 17, 450, 45}, {}, {358, 17, 451, 46}},
        {"OnePixelShadow",
         40,
         1,
         true,
         {385, 17, 449, 45},
         ChartRect{386, 18, 451, 47},
         {385, 17, 450, 46}},
        {"NoFrame",
         12,
         3,
         false,
         {397, 17, 449, 45},
         ChartRect{400, 20, 451, 47},
         {397, 17, 449, 45}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        m_canvas.Clear();
        m_rect = {14, 7, 452, 165};
        TChartLegend& legend = m_chart.Legend();
        legend.SetColorWidth(c.ColorWidth);
        legend.SetShadowSize(c.ShadowSize);
        legend.SetFrame({clGray, 1, psSolid, c.Frame});
        EXPECT_EQ(Draw().Rect, c.Legend);
        const std::vector<DrawnItem> fills = m_canvas.Items(DrawKind::FillRect);
        ASSERT_EQ(fills.size(), c.Shadow ? 1u : 0u);
        if (c.Shadow) {
            EXPECT_EQ(fills[0].Box, *c.Shadow);
        }
        EXPECT_EQ(m_canvas.Items(DrawKind::Rectangle)[0].Box, c.Box);
    }
}

TEST_F(LegendDrawing, NamesRowsByTitleThenNameThenNumber) {
    m_slit1.SetTitle("");
    m_slit1.SetName("Series24");
    m_slit5.SetTitle("");
    TLineSeries hidden;
    hidden.SetShowInLegend(false);
    hidden.SetParentChart(&m_chart);
    TLineSeries inactive;
    inactive.SetActive(false);
    inactive.SetParentChart(&m_chart);
    Draw();
    EXPECT_EQ(m_canvas.Texts(), (std::vector<std::string>{"Series24", "Series 1"}));
}

TEST_F(LegendDrawing, DrawsDividingLinesBetweenRows) {
    m_chart.Legend().SetDividingLines({clGray});
    const LegendLayout layout = Draw();
    std::vector<DrawnItem> dividers;
    for (const DrawnItem& line : m_canvas.Items(DrawKind::Line)) {
        if (line.Pen.Color == clGray) {
            dividers.push_back(line);
        }
    }
    ASSERT_EQ(dividers.size(), 1u);
    EXPECT_EQ(dividers[0].Points,
              (std::vector<ChartPoint>{{layout.Rect.Left, 31}, {layout.Rect.Right, 31}}));
}

TEST_F(LegendDrawing, AutomaticStyleNeedsTwoActiveSeries) {
    m_slit5.SetActive(false);
    EXPECT_EQ(Draw().Rect, ChartRect{});
    EXPECT_EQ(m_rect.Right, 452);
    m_chart.Legend().SetLegendStyle(lsSeries);
    EXPECT_NE(Draw().Rect, ChartRect{});
}

TEST_F(LegendDrawing, ShowsOnlyTheRowsThatFitAboveTheChartBottom) {
    m_rect.Bottom = 17 + 2 + 13 + 12;  // room for one row within the frame
    EXPECT_EQ(Draw().Rect.Bottom, 17 + 13 + 2);
    EXPECT_EQ(m_canvas.Texts().size(), 1u);
    m_rect.Bottom = 30;
    EXPECT_EQ(Draw().Rect, ChartRect{});
}

TEST_F(LegendDrawing, LeavesTheChartAloneWithoutResizeChartAndKeepsAFixedMargin) {
    m_chart.Legend().SetResizeChart(false);
    Draw();
    EXPECT_EQ(m_rect.Right, 452);
    m_chart.Legend().SetResizeChart(true);
    m_chart.Legend().SetHorizMargin(5);
    Draw();
    EXPECT_EQ(m_rect.Right, 395 - 5);
}

TEST(LegendColorWidth, OutsideZeroToHundredRaisesAndChangesNothing) {
    ChartModel chart;
    for (const int width : {-1, 101}) {
        SCOPED_TRACE(width);
        try {
            chart.Legend().SetColorWidth(width);
            FAIL() << "no exception";
        } catch (const LegendException& error) {
            EXPECT_STREQ(error.what(), "Legend Color Width must be between 0 and 100 %");
        }
        EXPECT_EQ(chart.Legend().ColorWidth(), 12);
    }
    chart.Legend().SetColorWidth(0);
    chart.Legend().SetColorWidth(100);
    EXPECT_EQ(chart.Legend().ColorWidth(), 100);
}

}  // namespace
}  // namespace gatool
