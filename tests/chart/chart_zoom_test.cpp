// Tests of zooming with a left-button drag, panning with a right-button drag, and undoing both.
#include <gtest/gtest.h>

#include <stdexcept>

#include "chart/line_series.h"
#include "tests/chart/chart_test_printers.h"
#include "tests/chart/unit_chart.h"

namespace gatool {
namespace {

struct Range {
    double Minimum;
    double Maximum;
    bool operator==(const Range&) const = default;
};

void PrintTo(const Range& range, std::ostream* out) {
    *out << range.Minimum << " to " << range.Maximum;
}

Range RangeOf(const TChartAxis& axis) {
    return {axis.Minimum(), axis.Maximum()};
}

// A chart with a line across its plot (so that it has an active series) and no click handler.
struct LineChart {
    LineChart() {
        Line.SetParentChart(&Unit.Chart);
        Line.AddPoint(20, 20, "", clBlack);
        Line.AddPoint(180, 180, "", clBlack);
        Unit.Draw();
    }

    void Drag(TMouseButton button, ChartPoint from, ChartPoint to) {
        Unit.Chart.MouseDown(button, {}, from.X, from.Y);
        Unit.Chart.MouseMove({}, to.X, to.Y);
        Unit.Chart.MouseUp(button, {}, to.X, to.Y);
    }

    ChartModel& Chart() { return Unit.Chart; }
    Range Bottom() const { return RangeOf(Unit.Chart.BottomAxis()); }
    Range Left() const { return RangeOf(Unit.Chart.LeftAxis()); }

    UnitChart Unit;
    TLineSeries Line;
};

TEST(ChartZoom, ZoomsToARectangleDraggedRightAndDown) {
    LineChart chart;
    chart.Drag(mbLeft, {20, 30}, {37, 47});
    EXPECT_EQ(chart.Bottom(), (Range{20, 37}));
    EXPECT_EQ(chart.Left(), (Range{153, 170}));  // pixel 47 is the value 153
    EXPECT_TRUE(chart.Chart().NeedsDrawing());
}

TEST(ChartZoom, ChangesNothingFor16PixelsAndUndoesForDragsInOtherDirections) {
    struct Case {
        int Dx;
        int Dy;
        bool Undoes;
    };
    const Case cases[] = {
        {16, 17, false}, {17, 16, false},  {-16, -17, false}, {-17, -16, false},
        {16, 16, false}, {-17, -17, true}, {17, -17, true},   {-17, 17, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Dx << ", " << c.Dy);
        LineChart chart;
        chart.Drag(mbLeft, {50, 50}, {150, 150});
        chart.Unit.Draw();
        const Range zoomed = chart.Bottom();
        chart.Drag(mbLeft, {100, 100}, {100 + c.Dx, 100 + c.Dy});
        EXPECT_EQ(chart.Bottom(), (c.Undoes ? Range{0, 200} : zoomed));
    }
}

TEST(ChartZoom, UndoRestoresFixedRangesAndAutomaticAxes) {
    LineChart chart;
    chart.Chart().LeftAxis().SetAutomatic(true);
    chart.Unit.Draw();
    chart.Drag(mbLeft, {50, 50}, {150, 150});
    chart.Unit.Draw();
    chart.Drag(mbLeft, {60, 60}, {100, 100});  // a zoom into the zoom keeps the first saved state
    chart.Unit.Draw();
    chart.Drag(mbLeft, {100, 100}, {50, 50});
    EXPECT_EQ(chart.Bottom(), (Range{0, 200}));
    EXPECT_FALSE(chart.Chart().BottomAxis().Automatic());
    const TChartAxis& left = chart.Chart().LeftAxis();
    EXPECT_TRUE(left.Automatic());
    EXPECT_TRUE(left.AutomaticMinimum());
    EXPECT_TRUE(left.AutomaticMaximum());
    chart.Unit.Draw();
    EXPECT_EQ(chart.Left(), (Range{20, 180}));
}

TEST(ChartZoom, SavesAfreshAfterAnUndo) {
    LineChart chart;
    chart.Drag(mbLeft, {50, 50}, {150, 150});
    chart.Drag(mbLeft, {150, 150}, {50, 50});
    chart.Chart().BottomAxis().SetAxisRange(10, 110);
    chart.Unit.Draw();
    chart.Drag(mbLeft, {50, 50}, {150, 150});
    chart.Drag(mbLeft, {150, 150}, {50, 50});
    EXPECT_EQ(chart.Bottom(), (Range{10, 110}));
}

TEST(ChartZoom, DoesNotZoomWhenZoomingIsNotAllowed) {
    LineChart chart;
    chart.Chart().SetAllowZoom(false);
    chart.Drag(mbLeft, {20, 30}, {80, 90});
    EXPECT_EQ(chart.Bottom(), (Range{0, 200}));
}

TEST(ChartZoom, EndsTheZoomOnlyWithTheLeftButton) {
    LineChart chart;
    chart.Chart().MouseDown(mbLeft, {}, 20, 30);
    chart.Chart().MouseMove({}, 50, 40);
    EXPECT_EQ(chart.Chart().ZoomRectangle(), (ChartRect{20, 30, 50, 40}));
    chart.Chart().MouseUp(mbRight, {}, 50, 40);
    chart.Chart().MouseMove({}, 10, 60);
    EXPECT_EQ(chart.Chart().ZoomRectangle(), (ChartRect{10, 30, 20, 60}));  // put in order
    chart.Chart().MouseUp(mbLeft, {}, 10, 60);
    EXPECT_FALSE(chart.Chart().ZoomRectangle());
}

TEST(ChartZoom, EndsTheZoomWithoutZoomingWhenTheMouseUpHandlerRaises) {
    LineChart chart;
    chart.Chart().SetOnMouseUp([](ChartModel&, TMouseButton, TShiftState, int, int) {
        throw std::runtime_error("handler failed");
    });
    chart.Chart().MouseDown(mbLeft, {}, 20, 30);
    EXPECT_THROW(chart.Chart().MouseUp(mbLeft, {}, 80, 90), std::runtime_error);
    EXPECT_FALSE(chart.Chart().ZoomRectangle());
    EXPECT_EQ(chart.Bottom(), (Range{0, 200}));
    chart.Chart().MouseMove({}, 100, 100);
    EXPECT_FALSE(chart.Chart().ZoomRectangle());
}

TEST(ChartZoom, DrawsTheRectangleInTheChartColourOrBlackOnWhite) {
    LineChart chart;
    EXPECT_EQ(chart.Chart().ZoomPenColor(), clBtnFace);
    chart.Chart().SetColor(clWhite);
    EXPECT_EQ(chart.Chart().ZoomPenColor(), clBlack);
    chart.Chart().SetColor(clYellow);
    EXPECT_EQ(chart.Chart().ZoomPenColor(), clYellow);
}

TEST(ChartZoom, PansByThePixelsTheMouseMoves) {
    LineChart chart;
    chart.Chart().MouseDown(mbRight, {}, 100, 100);
    chart.Chart().MouseMove({}, 110, 95);
    EXPECT_EQ(chart.Bottom(), (Range{-10, 190}));
    EXPECT_EQ(chart.Left(), (Range{-5, 195}));
    EXPECT_TRUE(chart.Chart().NeedsDrawing());
    // Further moves before the next drawing add up.
    chart.Chart().MouseMove({}, 120, 95);
    EXPECT_EQ(chart.Bottom(), (Range{-20, 180}));
    EXPECT_EQ(chart.Left(), (Range{-5, 195}));
}

TEST(ChartZoom, StopsPanningOnceTheMouseLeavesThePlot) {
    LineChart chart;
    chart.Chart().MouseDown(mbRight, {}, 100, 100);
    chart.Chart().MouseMove({}, 199, 100);
    EXPECT_EQ(chart.Bottom(), (Range{-99, 101}));
    chart.Chart().MouseMove({}, 200, 100);  // the plot's right edge is exclusive
    chart.Chart().MouseMove({}, 150, 100);
    EXPECT_EQ(chart.Bottom(), (Range{-99, 101}));
}

TEST(ChartZoom, PansOnlyInTheAllowedDirections) {
    struct Case {
        TPanningMode Mode;
        Range Bottom;
        Range Left;
    };
    const Case cases[] = {
        {pmBoth, {-10, 190}, {-5, 195}},
        {pmHorizontal, {-10, 190}, {0, 200}},
        {pmVertical, {0, 200}, {-5, 195}},
        {pmNone, {0, 200}, {0, 200}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Mode);
        LineChart chart;
        chart.Chart().SetAllowPanning(c.Mode);
        chart.Drag(mbRight, {100, 100}, {110, 95});
        EXPECT_EQ(chart.Bottom(), c.Bottom);
        EXPECT_EQ(chart.Left(), c.Left);
    }
}

TEST(ChartZoom, EndsPanningWithAnyButton) {
    LineChart chart;
    chart.Chart().MouseDown(mbRight, {}, 100, 100);
    chart.Chart().MouseUp(mbMiddle, {}, 100, 100);
    chart.Chart().MouseMove({}, 110, 100);
    EXPECT_EQ(chart.Bottom(), (Range{0, 200}));
}

TEST(ChartZoom, UndoAfterPanningRestoresAutomaticAxes) {
    LineChart chart;
    chart.Chart().LeftAxis().SetAutomatic(true);
    chart.Unit.Draw();
    chart.Drag(mbRight, {100, 100}, {110, 95});
    chart.Unit.Draw();
    chart.Drag(mbLeft, {150, 150}, {50, 50});
    EXPECT_TRUE(chart.Chart().LeftAxis().Automatic());
    EXPECT_EQ(chart.Bottom(), (Range{0, 200}));
}

}  // namespace
}  // namespace gatool
