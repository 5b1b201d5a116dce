// Tests of the chart's press flow (OnClickSeries and MouseHandled), its plain mouse events, the
// cursor over series and the exceptions of handlers.
#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "chart/line_series.h"
#include "tests/chart/unit_chart.h"

namespace gatool {
namespace {

struct Click {
    ChartModel* Sender;
    TChartSeries* Series;
    int ValueIndex;
    TMouseButton Button;
    TShiftState Shift;
    int X;
    int Y;
    bool operator==(const Click&) const = default;
};

// A horizontal line from pixel (50, 100) to (150, 100) and a recorder of the clicks on series.
class ChartMouse : public testing::Test {
  protected:
    ChartMouse() {
        AddLine(m_line);
        m_unit.Draw();
    }

    void AddLine(TLineSeries& series) {
        series.SetParentChart(&m_unit.Chart);
        series.AddPoint(50, 100, "", clBlack);
        series.AddPoint(150, 100, "", clBlack);
    }

    // Records the clicks; leaves MouseHandled as it finds it unless `handled` says otherwise.
    void RecordClicks(std::optional<bool> handled = std::nullopt) {
        m_unit.Chart.SetOnClickSeries([this, handled](ChartModel& sender, TChartSeries& series,
                                                      int index, TMouseButton button,
                                                      TShiftState shift, int x, int y) {
            m_clicks.push_back({&sender, &series, index, button, shift, x, y});
            if (handled) {
                sender.SetMouseHandled(*handled);
            }
        });
    }

    ChartModel& Chart() { return m_unit.Chart; }

    UnitChart m_unit;
    TLineSeries m_line;
    std::vector<Click> m_clicks;
};

TEST_F(ChartMouse, RaisesClickSeriesWithTheButtonShiftAndPosition) {
    RecordClicks();
    const TShiftState shift{.Shift = true, .Right = true};
    Chart().MouseDown(mbRight, shift, 120, 100);
    EXPECT_EQ(m_clicks, (std::vector<Click>{{&Chart(), &m_line, 0, mbRight, shift, 120, 100}}));
    EXPECT_FALSE(Chart().MouseHandled());
}

TEST_F(ChartMouse, SetsMouseHandledForTheHandlerAndClearsItAfterwards) {
    std::optional<bool> seen;
    Chart().SetOnClickSeries([&seen](ChartModel& sender, TChartSeries&, int, TMouseButton,
                                     TShiftState, int, int) { seen = sender.MouseHandled(); });
    Chart().MouseDown(mbLeft, {}, 100, 100);
    EXPECT_EQ(seen, true);
    EXPECT_FALSE(Chart().MouseHandled());
}

TEST_F(ChartMouse, StartsADragOnlyWhenTheHandlerClearsMouseHandled) {
    struct Case {
        std::optional<bool> Handled;
        TMouseButton Button;
        bool Drags;
        const char* What;
    };
    const Case cases[] = {
        {std::nullopt, mbLeft, false, "a handler that leaves the flag set"},
        {true, mbLeft, false, "a handler that sets it"},
        {false, mbLeft, true, "a handler that clears it, left button"},
        {false, mbRight, true, "a handler that clears it, right button"},
        {false, mbMiddle, false, "a handler that clears it, middle button"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        RecordClicks(c.Handled);
        m_clicks.clear();
        Chart().MouseDown(c.Button, {}, 100, 100);
        EXPECT_EQ(m_clicks.size(), 1u);
        // A press during a drag is ignored, so a second one tells whether a drag is under way.
        Chart().MouseDown(c.Button, {}, 100, 100);
        EXPECT_EQ(m_clicks.size(), c.Drags ? 1u : 2u);
        Chart().MouseUp(c.Button, {}, 100, 100);
    }
}

TEST_F(ChartMouse, WithoutAHandlerZoomsFromAPressOnASeries) {
    Chart().MouseDown(mbLeft, {}, 100, 100);
    EXPECT_EQ(Chart().ZoomRectangle(), (ChartRect{100, 100, 100, 100}));
}

TEST_F(ChartMouse, SwallowsAPressWhileMouseHandledIsSet) {
    RecordClicks();
    Chart().SetMouseHandled(true);
    Chart().MouseDown(mbLeft, {}, 100, 100);
    EXPECT_TRUE(m_clicks.empty());
    EXPECT_FALSE(Chart().MouseHandled());
    EXPECT_FALSE(Chart().ZoomRectangle());
    Chart().MouseDown(mbLeft, {}, 100, 100);
    EXPECT_EQ(m_clicks.size(), 1u);
}

TEST_F(ChartMouse, PassesAHandlersExceptionOnWithMouseHandledCleared) {
    Chart().SetOnClickSeries([](ChartModel&, TChartSeries&, int, TMouseButton, TShiftState, int,
                                int) { throw std::runtime_error("handler failed"); });
    EXPECT_THROW(Chart().MouseDown(mbLeft, {}, 100, 100), std::runtime_error);
    EXPECT_FALSE(Chart().MouseHandled());
    EXPECT_FALSE(Chart().ZoomRectangle());
    RecordClicks();
    Chart().MouseDown(mbLeft, {}, 100, 100);
    EXPECT_EQ(m_clicks.size(), 1u);
}

TEST_F(ChartMouse, RaisesMouseMoveAndMouseUpBeforeItsOwnHandling) {
    m_line.SetCursor(crHandPoint);
    std::vector<std::string> events;
    Chart().SetOnMouseMove([&events](ChartModel& sender, TShiftState shift, int x, int y) {
        events.push_back("move " + std::to_string(x) + "," + std::to_string(y) +
                         (shift.Left ? " left" : "") +
                         (sender.Cursor() == crHandPoint ? " hand" : ""));
    });
    Chart().SetOnMouseUp(
        [&events](ChartModel& sender, TMouseButton button, TShiftState, int x, int y) {
            events.push_back("up " + std::to_string(button) + " " + std::to_string(x) + "," +
                             std::to_string(y) + (sender.ZoomRectangle() ? " zooming" : ""));
        });
    Chart().MouseMove({}, 100, 100);  // onto the line: the hand comes after the event
    Chart().MouseMove({}, 10, 10);
    Chart().MouseDown(mbLeft, {.Left = true}, 10, 10);
    Chart().MouseMove({.Left = true}, 20, 20);
    Chart().MouseUp(mbLeft, {}, 20, 20);
    EXPECT_EQ(events, (std::vector<std::string>{"move 100,100", "move 10,10 hand",
                                                "move 20,20 left", "up 0 20,20 zooming"}));
}

TEST_F(ChartMouse, ShowsTheCursorOfAnActiveSeriesUnderTheMouse) {
    m_line.SetCursor(crHandPoint);
    Chart().MouseMove({}, 100, 100);
    EXPECT_EQ(Chart().Cursor(), crHandPoint);
    Chart().MouseMove({}, 100, 99);
    EXPECT_EQ(Chart().Cursor(), crDefault);
    m_line.SetActive(false);
    Chart().MouseMove({}, 100, 100);
    EXPECT_EQ(Chart().Cursor(), crDefault);
}

TEST_F(ChartMouse, ReportsTheLaterSeriesButTakesTheCursorOfTheEarlierOne) {
    TLineSeries later;
    AddLine(later);
    m_unit.Draw();
    m_line.SetCursor(crHandPoint);
    RecordClicks();
    Chart().MouseDown(mbLeft, {}, 100, 100);
    ASSERT_EQ(m_clicks.size(), 1u);
    EXPECT_EQ(m_clicks[0].Series, &later);
    Chart().MouseMove({}, 100, 100);
    EXPECT_EQ(Chart().Cursor(), crHandPoint);
}

TEST_F(ChartMouse, DropsTheHandWhenADragStarts) {
    m_line.SetCursor(crHandPoint);
    Chart().MouseMove({}, 100, 100);
    ASSERT_EQ(Chart().Cursor(), crHandPoint);
    Chart().MouseDown(mbRight, {}, 100, 100);
    EXPECT_EQ(Chart().Cursor(), crDefault);
}

TEST_F(ChartMouse, HitsNoSeriesClearedAfterTheDrawing) {
    RecordClicks(false);
    m_line.ClearPoints();
    Chart().MouseDown(mbLeft, {}, 100, 100);
    EXPECT_TRUE(m_clicks.empty());
    EXPECT_TRUE(Chart().ZoomRectangle());  // the plot, which the last drawing left
}

}  // namespace
}  // namespace gatool
