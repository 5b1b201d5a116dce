// Tests of the automatic axis range and its widening for pointers and marks.
#include <gtest/gtest.h>

#include "chart/chart_model.h"
#include "chart/line_series.h"
#include "tests/chart/fake_canvas.h"

namespace gatool {
namespace {

TSeriesPointer VisiblePointer(int size) {
    TSeriesPointer pointer;
    pointer.Style = psCircle;
    pointer.HorizSize = size;
    pointer.VertSize = size;
    return pointer;
}

class AutomaticRange : public testing::Test {
  protected:
    AutomaticRange() {
        m_first.SetParentChart(&m_chart);
        m_second.SetParentChart(&m_chart);
    }

    ChartModel m_chart;
    TLineSeries m_first;
    TLineSeries m_second;
};

TEST_F(AutomaticRange, SpansTheActiveSeriesAndIsStoredInMinimumAndMaximum) {
    m_first.AddPoint(2, 10, "", clRed);
    m_first.AddPoint(4, -3, "", clRed);
    m_second.AddPoint(-1, 5, "", clRed);
    m_chart.BottomAxis().CalcAutomaticRange();
    m_chart.LeftAxis().CalcAutomaticRange();
    EXPECT_EQ(m_chart.BottomAxis().Minimum(), -1);
    EXPECT_EQ(m_chart.BottomAxis().Maximum(), 4);
    EXPECT_EQ(m_chart.BottomAxis().RangeSpan(), 5);
    EXPECT_EQ(m_chart.LeftAxis().RangeMin(), -3);
    EXPECT_EQ(m_chart.LeftAxis().RangeMax(), 10);

    m_second.SetActive(false);
    m_chart.BottomAxis().CalcAutomaticRange();
    EXPECT_EQ(m_chart.BottomAxis().Minimum(), 2);
}

TEST_F(AutomaticRange, CountsInactiveSeriesOnlyWhileNoSeriesIsActive) {
    m_first.AddPoint(2, 10, "", clRed);
    m_second.AddPoint(8, 5, "", clRed);
    m_first.SetActive(false);
    m_second.SetActive(false);
    m_chart.BottomAxis().CalcAutomaticRange();
    EXPECT_EQ(m_chart.BottomAxis().RangeMin(), 2);
    EXPECT_EQ(m_chart.BottomAxis().RangeMax(), 8);
}

TEST_F(AutomaticRange, IsZeroToZeroWithoutPoints) {
    m_chart.LeftAxis().SetAxisRange(3, 4);
    m_chart.LeftAxis().SetAutomatic(true);
    m_chart.LeftAxis().CalcAutomaticRange();
    EXPECT_EQ(m_chart.LeftAxis().Minimum(), 0);
    EXPECT_EQ(m_chart.LeftAxis().Maximum(), 0);
}

TEST_F(AutomaticRange, LeavesAFixedEndAtItsValue) {
    m_first.AddPoint(2, 10, "", clRed);
    m_chart.LeftAxis().SetAxisRange(-5, 0);
    m_chart.LeftAxis().SetAutomaticMaximum(true);
    m_chart.LeftAxis().CalcAutomaticRange();
    EXPECT_EQ(m_chart.LeftAxis().RangeMin(), -5);
    EXPECT_EQ(m_chart.LeftAxis().RangeMax(), 10);
}

class PointerMargins : public AutomaticRange {
  protected:
    // Series values 2 to 7 on a horizontal axis of 300 pixels and on a vertical one of 290.
    void Prepare() {
        m_first.AddPoint(2, 2, "", clRed);
        m_first.AddPoint(7, 7, "", clRed);
        for (TChartAxis* axis : {&m_chart.BottomAxis(), &m_chart.LeftAxis()}) {
            axis->CalcAutomaticRange();
            axis->SetPixelPositions({0, 0, 300, 290});
            axis->ApplySeriesMargins(m_canvas);
        }
    }

    FakeCanvas m_canvas{6, 13};
};

TEST_F(PointerMargins, WidenAnAutomaticRangeSoThatTheOldRangeFillsTheShortenedAxis) {
    m_first.SetPointer(VisiblePointer(4));
    Prepare();
    const TChartAxis& axis = m_chart.BottomAxis();
    // Five pixels each side of 300: 2 - 25/290 to 7 + 25/290.
    EXPECT_DOUBLE_EQ(axis.RangeMin(), 2 - 25.0 / 290);
    EXPECT_DOUBLE_EQ(axis.RangeMax(), 7 + 25.0 / 290);
    EXPECT_EQ(axis.Minimum(), 2);
    EXPECT_EQ(axis.Maximum(), 7);
    EXPECT_EQ(axis.PixelStart(), 0);
    EXPECT_EQ(axis.PixelEnd(), 300);
    EXPECT_EQ(axis.ValueToPixel(2), 5);
    EXPECT_EQ(axis.ValueToPixel(7), 295);
    // The vertical axis widens at top and bottom by the vertical size.
    EXPECT_EQ(m_chart.LeftAxis().ValueToPixel(7), 5);
    EXPECT_EQ(m_chart.LeftAxis().ValueToPixel(2), 285);
}

TEST_F(PointerMargins, TakeTheLargestPointerOfTheActiveSeries) {
    m_first.SetPointer(VisiblePointer(4));
    m_second.SetPointer(VisiblePointer(6));
    m_second.AddPoint(3, 3, "", clRed);
    Prepare();
    EXPECT_EQ(m_chart.BottomAxis().ValueToPixel(2), 7);
    m_second.SetActive(false);
    Prepare();
    EXPECT_EQ(m_chart.BottomAxis().ValueToPixel(2), 5);
}

TEST_F(PointerMargins, AreNoneForHiddenOrNonInflatingPointers) {
    Prepare();  // a line series starts with its pointer hidden
    EXPECT_EQ(m_chart.BottomAxis().RangeMin(), 2);
    TSeriesPointer pointer = VisiblePointer(4);
    pointer.InflateMargins = false;
    m_first.SetPointer(pointer);
    Prepare();
    EXPECT_EQ(m_chart.BottomAxis().RangeMax(), 7);
}

TEST_F(PointerMargins, ApplyOnlyToAutomaticEnds) {
    m_first.SetPointer(VisiblePointer(4));
    m_chart.BottomAxis().SetAutomaticMaximum(false);
    m_chart.BottomAxis().SetMaximum(7);  // the right end fixed where the points end
    m_chart.LeftAxis().SetAxisRange(2, 7);
    Prepare();
    EXPECT_EQ(m_chart.BottomAxis().ValueToPixel(2), 5);
    EXPECT_EQ(m_chart.BottomAxis().ValueToPixel(7), 300);
    EXPECT_EQ(m_chart.LeftAxis().RangeMin(), 2);
    EXPECT_EQ(m_chart.LeftAxis().RangeMax(), 7);
}

TEST_F(PointerMargins, ChangeNothingForAZeroRange) {
    m_first.SetPointer(VisiblePointer(4));
    m_first.AddPoint(5, 5, "", clRed);
    TChartAxis& axis = m_chart.BottomAxis();
    axis.CalcAutomaticRange();
    axis.SetPixelPositions({0, 0, 300, 290});
    axis.ApplySeriesMargins(m_canvas);
    EXPECT_EQ(m_chart.BottomAxis().RangeMin(), 5);
    EXPECT_EQ(m_chart.BottomAxis().RangeMax(), 5);
    EXPECT_EQ(m_chart.BottomAxis().ValueToPixel(5), 150);
}

TSeriesMarks VisibleMarks() {
    TSeriesMarks marks;
    marks.Visible = true;
    return marks;
}

TEST_F(PointerMargins, LeaveRoomAtTheTopForTheArrowAndABoxOfOneLineOfVisibleMarks) {
    struct Case {
        int PointerSize;  // 0: hidden
        int Top;          // pixel of the highest value
    };
    const Case cases[] = {
        {0, 23},   // arrow 8 + text 13 + frame 2
        {4, 23},   // the pointer needs less: 5
        {30, 31},  // the pointer needs more
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.PointerSize);
        m_first.SetMarks(VisibleMarks());
        if (c.PointerSize > 0) {
            m_first.SetPointer(VisiblePointer(c.PointerSize));
        }
        Prepare();
        const int bottom = c.PointerSize > 0 ? 290 - c.PointerSize - 1 : 290;
        EXPECT_EQ(m_chart.LeftAxis().ValueToPixel(7), c.Top);
        EXPECT_EQ(m_chart.LeftAxis().ValueToPixel(2), bottom);
        EXPECT_EQ(m_chart.LeftAxis().Maximum(), 7);
    }
}

TEST_F(PointerMargins, AreNoneForHiddenMarksAndForMarksOfASeriesWithoutPoints) {
    m_second.SetMarks(VisibleMarks());  // m_second has no points
    Prepare();
    EXPECT_EQ(m_chart.LeftAxis().RangeMax(), 7);
    EXPECT_EQ(m_chart.LeftAxis().RangeMin(), 2);
    EXPECT_EQ(m_chart.BottomAxis().RangeMax(), 7);  // marks ask nothing of a horizontal axis
    m_first.SetMarks(VisibleMarks());
    m_chart.LeftAxis().SetAxisRange(2, 7);
    Prepare();
    EXPECT_EQ(m_chart.LeftAxis().RangeMax(), 7);  // a fixed top stays
}

}  // namespace
}  // namespace gatool
