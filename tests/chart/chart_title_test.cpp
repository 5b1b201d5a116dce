// Tests of the chart title: its text as lines and where it is drawn.
#include "chart/chart_title.h"

#include <gtest/gtest.h>

#include "chart/chart_model.h"
#include "tests/chart/chart_test_printers.h"
#include "tests/chart/fake_canvas.h"

namespace gatool {
namespace {

TEST(TitleText, IsReplacedWholeAndSplitIntoLines) {
    ChartModel chart;
    FakeCanvas canvas;
    int invalidations = 0;
    chart.SetInvalidationHandler([&] { ++invalidations; });
    chart.Draw(canvas, 400, 250);
    TChartTitle& title = chart.Title();
    title.SetText("GS = 1\nGI = 0");
    EXPECT_EQ(title.Text(), (std::vector<std::string>{"GS = 1", "GI = 0"}));
    EXPECT_EQ(invalidations, 1);
    chart.Draw(canvas, 400, 250);
    title.SetText("GS = 1\r\nGI = 0");
    EXPECT_EQ(invalidations, 1);  // the same lines
    title.SetText("");
    EXPECT_TRUE(title.Text().empty());
    EXPECT_EQ(invalidations, 2);
}

class TitleDrawing : public testing::Test {
  protected:
    ChartRect Draw() { return m_chart.Title().Draw(m_canvas, m_rect); }

    ChartModel m_chart;
    FakeCanvas m_canvas{6, 13};
    ChartRect m_rect{14, 7, 452, 165};
};

TEST_F(TitleDrawing, SpansTheChartRectangleAndPlacesEachLineByItsAlignment) {
    struct Case {
        TAlignment Alignment;
        int Left;
    };
    // "Title" is 30 pixels wide, "W" 6.
    const Case cases[] = {{taCenter, 218}, {taLeftJustify, 17}, {taRightJustify, 419}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Alignment);
        m_canvas.Clear();
        m_rect = {14, 7, 452, 165};
        m_chart.Title().SetText("Title");
        m_chart.Title().SetAlignment(c.Alignment);
        EXPECT_EQ(Draw(), (ChartRect{14, 7, 452, 20}));
        EXPECT_EQ(m_rect.Top, 25);  // 5 pixels below the line
        const std::vector<DrawnItem> texts = m_canvas.Items(DrawKind::Text);
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].Points[0], (ChartPoint{c.Left, 7}));
        EXPECT_EQ(texts[0].Font.Color, clBlue);
    }
}

TEST_F(TitleDrawing, StacksLinesOneUnderTheOther) {
    m_chart.Title().SetText("one\ntwo");
    EXPECT_EQ(Draw(), (ChartRect{14, 7, 452, 33}));
    EXPECT_EQ(m_canvas.Items(DrawKind::Text)[1].Points[0].Y, 20);
    EXPECT_EQ(m_rect.Top, 38);
}

TEST_F(TitleDrawing, OneEmptyLineStillTakesItsRoomButNoLinesTakeNone) {
    m_chart.Title().SetText(std::vector<std::string>{""});
    Draw();
    EXPECT_EQ(m_rect.Top, 7 + 13 + 5);

    m_rect = {14, 7, 452, 165};
    m_chart.Title().SetText(std::vector<std::string>{});
    EXPECT_EQ(Draw(), ChartRect{});
    EXPECT_EQ(m_rect.Top, 7);
}

TEST_F(TitleDrawing, AHiddenTitleTakesNoRoom) {
    m_chart.Title().SetText("TChart");
    m_chart.Title().SetVisible(false);
    EXPECT_EQ(Draw(), ChartRect{});
    EXPECT_TRUE(m_canvas.Drawing().empty());
    EXPECT_EQ(m_rect.Top, 7);
}

TEST_F(TitleDrawing, FillsItsRectangleOnlyWhenAColourIsSet) {
    m_chart.Title().SetText("Title");
    Draw();
    EXPECT_TRUE(m_canvas.Items(DrawKind::Rectangle).empty());

    m_canvas.Clear();
    m_chart.Title().SetColor(clYellow);
    Draw();
    ASSERT_EQ(m_canvas.Items(DrawKind::Rectangle).size(), 1u);
    EXPECT_EQ(m_canvas.Items(DrawKind::Rectangle)[0].Fill, clYellow);
}

}  // namespace
}  // namespace gatool
