// Tests of the room an axis takes beside the plot.
#include <gtest/gtest.h>

#include <functional>

#include "chart/chart_model.h"
#include "chart/line_series.h"
#include "tests/chart/fake_canvas.h"

namespace gatool {
namespace {

class AxisRoom : public testing::Test {
  protected:
    AxisRoom() { m_series.SetParentChart(&m_chart); }

    ChartModel m_chart;
    TLineSeries m_series;
    FakeCanvas m_canvas{6, 13};  // 13-pixel lines, 6-pixel characters
};

TEST_F(AxisRoom, OfTheBottomAxisIsTitleLabelsAndTicksFromTheEdgeInwards) {
    struct Case {
        const char* Name;
        std::function<void(TChartAxis&)> Configure;
        int TitlePosition;
        int LabelsPosition;
        int AxisPosition;
    };
    const Case cases[] = {
        {"Defaults", [](TChartAxis&) {}, 200, 187, 181},
        {"Caption",
         [](TChartAxis& axis) {
             axis.SetTitle({"Step number", {}});
         },
         187, 174, 168},
        {"FixedTitleSize",
         [](TChartAxis& axis) {
             axis.SetTitle({"Step number", {}});
             axis.SetTitleSize(20);
         },
         180, 167, 161},
        {"FixedLabelsSize", [](TChartAxis& axis) { axis.SetLabelsSize(30); }, 200, 170, 164},
        {"NoLabels", [](TChartAxis& axis) { axis.SetLabels(false); }, 200, 200, 194},
        {"NoAxisLine",
         [](TChartAxis& axis) {
             axis.SetAxis({clBlack, 2, psSolid, false});
         },
         200, 187, 183},
        {"NoTicksLeavesTheMinorTickLength",
         [](TChartAxis& axis) {
             axis.SetAxis({clBlack, 2, psSolid, false});
             axis.SetTicks({clGray, 1, psSolid, false});
         },
         200, 187, 185},
        {"NoTicksAtAll",
         [](TChartAxis& axis) {
             axis.SetAxis({clBlack, 2, psSolid, false});
             axis.SetTicks({clGray, 1, psSolid, false});
             axis.SetMinorTicks({clGray, 1, psSolid, false});
         },
         200, 187, 187},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        ChartModel chart;
        TLineSeries series;
        series.SetParentChart(&chart);
        TChartAxis& axis = chart.BottomAxis();
        c.Configure(axis);
        ChartRect rect{0, 0, 400, 200};
        axis.CalcAutomaticRange();
        axis.TakeRoom(m_canvas, rect);
        EXPECT_EQ(axis.TitlePosition(), c.TitlePosition);
        EXPECT_EQ(axis.LabelsPosition(), c.LabelsPosition);
        EXPECT_EQ(axis.AxisPosition(), c.AxisPosition);
        EXPECT_EQ(rect, (ChartRect{0, 0, 400, c.AxisPosition}));
    }
}

TEST_F(AxisRoom, OfTheLeftAxisFitsItsWidestBoundingLabelAndASpace) {
    m_series.AddPoint(0, 0, "", clRed);
    m_series.AddPoint(1, 1234.5678, "", clRed);
    TChartAxis& axis = m_chart.LeftAxis();
    axis.SetTitle({"Loss", {}});  // turned: takes one line height
    axis.CalcAutomaticRange();

    // The step comes from the 200 pixels this drawing gives the axis: 100, so "1,200" bounds the
    // labels, 5 characters, 30 pixels, and a space.
    ChartRect rect{0, 0, 400, 200};
    axis.TakeRoom(m_canvas, rect);
    EXPECT_EQ(axis.TitlePosition(), 13);
    EXPECT_EQ(axis.LabelsPosition(), 13 + 36);
    EXPECT_EQ(rect.Left, 13 + 36 + 6);

    // A drawing before at another length changes nothing: the same data takes the same room.
    axis.SetPixelPositions({0, 0, 400, 20});
    rect = {0, 0, 400, 200};
    axis.TakeRoom(m_canvas, rect);
    EXPECT_EQ(axis.LabelsPosition(), 13 + 36);

    axis.SetRoundFirstLabel(false);
    rect = {0, 0, 400, 200};
    axis.TakeRoom(m_canvas, rect);
    EXPECT_EQ(axis.LabelsPosition(), 13 + 60);
}

}  // namespace
}  // namespace gatool
