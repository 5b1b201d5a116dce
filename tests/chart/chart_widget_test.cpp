// Tests of the TChart widget: it draws when Qt asks it to paint and only then, not while hidden,
// and at the device pixel ratio of what it paints on.
#include "chart/chart_widget.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTest>

#include "chart/line_series.h"

namespace gatool {
namespace {

class ChartWidget : public testing::Test {
  protected:
    ChartWidget() { m_series.SetParentChart(&m_chart); }

    // Lets Qt run until the chart has drawn, for at most a second.
    bool WaitForDrawing() {
        return QTest::qWaitFor([this] { return !m_chart.NeedsDrawing(); }, 1000);
    }

    TChart m_chart;
    TLineSeries m_series;
};

TEST_F(ChartWidget, StartsAt400By250) {
    EXPECT_EQ(m_chart.size(), QSize(400, 250));
}

TEST_F(ChartWidget, DrawsWhenShownAndLeavesTheRangeForLaterReads) {
    m_series.AddPoint(0, 3, "", clRed);
    m_series.AddPoint(1, 7, "", clRed);
    EXPECT_EQ(m_chart.LeftAxis().Maximum(), 0);  // changes only mark the chart
    m_chart.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_chart));
    ASSERT_TRUE(WaitForDrawing());
    EXPECT_EQ(m_chart.LeftAxis().Maximum(), 7);
    EXPECT_EQ(m_chart.Layout().Panel.Right, 400);
}

TEST_F(ChartWidget, RedrawsAfterEveryChangeThatFollowsADrawing) {
    m_chart.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_chart));
    for (const double y : {3.0, 7.0, 9.0}) {
        SCOPED_TRACE(y);
        m_series.AddPoint(y, y, "", clRed);
        m_series.AddPoint(y + 0.5, 0, "", clRed);  // reaches a chart that needs drawing already
        ASSERT_TRUE(WaitForDrawing());
        EXPECT_EQ(m_chart.LeftAxis().Maximum(), y);
    }
}

TEST_F(ChartWidget, IsNotDrawnWhileHidden) {
    m_series.AddPoint(0, 3, "", clRed);
    m_chart.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_chart));
    ASSERT_TRUE(WaitForDrawing());
    m_chart.hide();
    m_series.AddPoint(1, 9, "", clRed);
    m_chart.repaint();
    QTest::qWait(50);
    EXPECT_TRUE(m_chart.NeedsDrawing());
    EXPECT_EQ(m_chart.LeftAxis().Maximum(), 3);  // as the last drawing left it
}

TEST_F(ChartWidget, RedrawsForANewSize) {
    m_series.AddPoint(0, 3, "", clRed);
    m_chart.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_chart));
    ASSERT_TRUE(WaitForDrawing());
    m_chart.resize(300, 150);
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_chart.Layout().Panel.Right == 300; }, 1000));
    EXPECT_EQ(m_chart.Layout().Panel.Bottom, 150);
}

TEST_F(ChartWidget, PaintsAtTheDevicePixelRatioOfItsTarget) {
    m_chart.SetColor(clWhite);
    m_chart.SetBevelOuter(bvNone);
    m_series.AddPoint(0, 0, "", clGreen);
    m_series.AddPoint(10, 5, "", clGreen);
    QImage image(800, 500, QImage::Format_RGB32);
    image.setDevicePixelRatio(2);
    m_chart.render(&image);
    EXPECT_EQ(m_chart.Layout().Panel.Right, 400);
    // Drawn at a ratio of 1 and scaled up, the sloping segment would consist of whole 2 by 2
    // blocks; drawn at 2 it has steps of single device pixels.
    const int x0 = m_series.XScreenPos(0);
    const int x1 = m_series.XScreenPos(1);
    const int top = m_series.YScreenPos(1);
    const int bottom = m_series.YScreenPos(0);
    int greenPixels = 0;
    int splitBlocks = 0;
    for (int y = 2 * top; y < 2 * bottom; y += 2) {
        for (int x = 2 * x0; x < 2 * x1; x += 2) {
            const QRgb corner = image.pixel(x, y);
            greenPixels += corner == qRgb(0, 128, 0);
            splitBlocks += corner != image.pixel(x + 1, y) || corner != image.pixel(x, y + 1) ||
                           corner != image.pixel(x + 1, y + 1);
        }
    }
    EXPECT_GT(greenPixels, 0);
    EXPECT_GT(splitBlocks, 0);
}

}  // namespace
}  // namespace gatool
