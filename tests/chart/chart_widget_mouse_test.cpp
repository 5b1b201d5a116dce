// Tests of the TChart widget's mouse handling: Qt's mouse events reach the model as client pixels
// with their button and shift state, the widget shows the model's cursor, and the zoom rectangle
// is drawn over the chart's image without a new drawing and without marking the image.
#include <gtest/gtest.h>

#include <QImage>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>
#include <optional>
#include <vector>

#include "chart/chart_widget.h"
#include "chart/line_series.h"

namespace gatool {
namespace {

struct Press {
    int ValueIndex;
    TMouseButton Button;
    TShiftState Shift;
    ChartPoint At;
    bool operator==(const Press&) const = default;
};

void PrintTo(const Press& press, std::ostream* out) {
    const TShiftState& s = press.Shift;
    *out << "index " << press.ValueIndex << ", button " << press.Button << ", shift " << s.Shift
         << s.Alt << s.Ctrl << s.Left << s.Right << s.Middle << s.Double << " at (" << press.At.X
         << ", " << press.At.Y << ")";
}

class ChartWidgetMouse : public testing::Test {
  protected:
    ChartWidgetMouse() {
        m_chart.SetColor(clWhite);
        m_chart.SetBevelOuter(bvNone);
        m_line.SetParentChart(&m_chart);
        m_line.AddPoint(0, 0, "", clBlack);
        m_line.AddPoint(5, 10, "", clBlack);
        m_line.AddPoint(10, 0, "", clBlack);
        m_chart.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&m_chart));
        EXPECT_TRUE(QTest::qWaitFor([this] { return !m_chart.NeedsDrawing(); }, 1000));
    }

    void RecordPresses() {
        m_chart.SetOnClickSeries([this](ChartModel&, TChartSeries&, int index, TMouseButton button,
                                        TShiftState shift, int x, int y) {
            m_presses.push_back({index, button, shift, {x, y}});
        });
    }

    // What the window shows.
    QImage OnScreen() const {
        return m_chart.screen()
            ->grabWindow(m_chart.winId())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }

    QPoint Point(int index) const { return {m_line.XScreenPos(index), m_line.YScreenPos(index)}; }

    TChart m_chart;
    TLineSeries m_line;
    std::vector<Press> m_presses;
};

TEST_F(ChartWidgetMouse, PassesPressesWithTheirButtonShiftAndClientPixel) {
    RecordPresses();
    QTest::mousePress(&m_chart, Qt::RightButton, Qt::ShiftModifier, Point(1));
    QTest::mouseRelease(&m_chart, Qt::RightButton, Qt::ShiftModifier, Point(1));
    QTest::mouseDClick(&m_chart, Qt::LeftButton, Qt::ControlModifier, Point(2));
    QTest::mouseRelease(&m_chart, Qt::LeftButton, Qt::ControlModifier, Point(2));
    QTest::mousePress(&m_chart, Qt::MiddleButton, Qt::AltModifier, Point(0));
    const ChartPoint p1{Point(1).x(), Point(1).y()};
    const ChartPoint p2{Point(2).x(), Point(2).y()};
    const ChartPoint p0{Point(0).x(), Point(0).y()};
    EXPECT_EQ(m_presses, (std::vector<Press>{
                             {1, mbRight, {.Shift = true, .Right = true}, p1},
                             {2, mbLeft, {.Ctrl = true, .Left = true, .Double = true}, p2},
                             {0, mbMiddle, {.Alt = true, .Middle = true}, p0},
                         }));
}

TEST_F(ChartWidgetMouse, TakesThePixelThatHoldsAFractionalPosition) {
    RecordPresses();
    TChartPen pen = m_line.LinePen();
    pen.Visible = false;
    m_line.SetLinePen(pen);
    m_line.ClearPoints();
    m_line.AddPoint(5, 5, "", clBlack);  // a lone point: only its own pixel hits
    ASSERT_TRUE(QTest::qWaitFor([this] { return !m_chart.NeedsDrawing(); }, 1000));
    const QPoint point = Point(0);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(point) + QPointF(0.75, 0.75),
                      m_chart.mapToGlobal(QPointF(point) + QPointF(0.75, 0.75)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&m_chart, &press);
    ASSERT_EQ(m_presses.size(), 1u);
    EXPECT_EQ(m_presses[0].At, (ChartPoint{point.x(), point.y()}));
}

TEST_F(ChartWidgetMouse, ShowsTheHandOverASeriesThatHasIt) {
    m_line.SetCursor(crHandPoint);
    const QPoint onLine = Point(1);
    QTest::mouseMove(&m_chart, onLine);
    EXPECT_EQ(m_chart.Cursor(), crHandPoint);
    EXPECT_EQ(m_chart.cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(&m_chart, onLine - QPoint(0, 5));
    EXPECT_EQ(m_chart.Cursor(), crDefault);
    EXPECT_EQ(m_chart.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(ChartWidgetMouse, DrawsTheZoomRectangleOverTheImageWithoutANewDrawing) {
    int invalidations = 0;
    m_chart.SetInvalidationHandler([this, &invalidations] {
        ++invalidations;
        m_chart.update();
    });
    const QImage clean = OnScreen();
    // Right of the line's first point and above it, below the line: the white plot.
    const QPoint start = Point(0) + QPoint(40, -20);
    QTest::mousePress(&m_chart, Qt::LeftButton, Qt::NoModifier, start);
    QTest::mouseMove(&m_chart, start + QPoint(12, 10));
    ASSERT_TRUE(QTest::qWaitFor([&] { return OnScreen() != clean; }, 1000));
    QImage dragging = OnScreen();
    QTest::mouseMove(&m_chart, start + QPoint(14, 12));
    ASSERT_TRUE(QTest::qWaitFor([&] { return OnScreen() != dragging; }, 1000));
    dragging = OnScreen();
    const auto inverted = [&](QPoint at) {
        return dragging.pixel(at) == (~clean.pixel(at) | 0xFF000000);
    };
    const auto unchanged = [&](QPoint at) { return dragging.pixel(at) == clean.pixel(at); };
    // The outline runs from the press up to one pixel before the mouse, each corner once.
    EXPECT_EQ(clean.pixel(start), qRgb(255, 255, 255));
    EXPECT_EQ(dragging.pixel(start), qRgb(0, 0, 0));
    EXPECT_TRUE(inverted(start + QPoint(13, 11)));
    EXPECT_TRUE(inverted(start + QPoint(7, 0)));
    EXPECT_TRUE(inverted(start + QPoint(0, 6)));
    EXPECT_TRUE(inverted(start + QPoint(13, 6)));
    EXPECT_TRUE(unchanged(start + QPoint(14, 6)));
    EXPECT_TRUE(unchanged(start + QPoint(6, 6)));   // no fill
    EXPECT_TRUE(unchanged(start + QPoint(11, 5)));  // the earlier rectangle is gone

    QTest::mouseRelease(&m_chart, Qt::LeftButton, Qt::NoModifier, start + QPoint(14, 12));
    EXPECT_TRUE(QTest::qWaitFor([&] { return OnScreen() == clean; }, 1000));
    EXPECT_EQ(m_chart.grab().toImage(), clean);  // the chart's own image stays clean
    EXPECT_EQ(invalidations, 0);
    EXPECT_FALSE(m_chart.NeedsDrawing());
}

TEST_F(ChartWidgetMouse, RedrawsTheZoomedChartAfterALargeDrag) {
    const double maximum = m_chart.BottomAxis().Maximum();
    const QPoint start = Point(0) + QPoint(40, -20);
    QTest::mousePress(&m_chart, Qt::LeftButton, Qt::NoModifier, start);
    QTest::mouseMove(&m_chart, start + QPoint(30, 30));
    QTest::mouseRelease(&m_chart, Qt::LeftButton, Qt::NoModifier, start + QPoint(30, 30));
    EXPECT_LT(m_chart.BottomAxis().Maximum(), maximum);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !m_chart.NeedsDrawing(); }, 1000));
}

}  // namespace
}  // namespace gatool
