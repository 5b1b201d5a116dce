// Tests of drawn charts by chosen pixels: segment colours, pointer fills, grid dots, the legend's
// shadow, the bevel and drawing at a device pixel ratio of 2. Whole images are never compared, so
// that a change of fonts cannot break these tests.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPalette>

#include "chart/chart_image.h"
#include "chart/chart_model.h"
#include "chart/line_series.h"

namespace gatool {
namespace {

// Colours as 0xAARRGGBB.
QRgb Pixel(const QImage& image, int x, int y) {
    return image.pixel(x, y);
}

const QRgb White = qRgb(255, 255, 255);
const QRgb Black = qRgb(0, 0, 0);
const QRgb Green = qRgb(0, 128, 0);
const QRgb Blue = qRgb(0, 0, 255);
const QRgb Grey = qRgb(128, 128, 128);

class ChartRendering : public testing::Test {
  protected:
    ChartRendering() {
        m_chart.SetColor(clWhite);
        m_chart.SetBevelOuter(bvNone);
        m_chart.Legend().SetVisible(false);
        m_series.SetParentChart(&m_chart);
    }

    QImage Render(qreal devicePixelRatio = 1) {
        QImage image = ChartImage(300, 200, devicePixelRatio);
        QtDrawingCache cache;
        RenderChart(m_chart, image, cache);
        return image;
    }

    ChartModel m_chart;
    TLineSeries m_series;
};

TEST_F(ChartRendering, DrawsEachSegmentInItsEndPointsColour) {
    // Equal y values: the series runs along the middle of the plot.
    m_series.AddPoint(0, 5, "", clRed);
    m_series.AddPoint(10, 5, "", clGreen);
    m_series.AddPoint(20, 5, "", clBlue);
    const QImage image = Render();
    const int y = m_series.YScreenPos(0);
    const int x0 = m_series.XScreenPos(0);
    const int x1 = m_series.XScreenPos(1);
    const int x2 = m_series.XScreenPos(2);
    EXPECT_EQ(Pixel(image, (x0 + x1) / 2, y), Green);
    EXPECT_EQ(Pixel(image, (x1 + x2) / 2, y), Blue);
    EXPECT_NE(Pixel(image, (x0 + x1) / 2, y - 1), Green);  // one pixel thick
    EXPECT_NE(Pixel(image, (x0 + x1) / 2, y + 1), Green);
}

TEST_F(ChartRendering, DrawsAWideLineAsWideAsItsPenAcrossItsJoints) {
    TChartPen pen = m_series.LinePen();
    pen.Width = 3;
    m_series.SetLinePen(pen);
    m_series.AddPoint(0, 5, " ", clBlack);
    m_series.AddPoint(10, 5, " ", clBlack);
    m_series.AddPoint(20, 5, " ", clBlack);
    const QImage image = Render();
    for (const int x :
         {(m_series.XScreenPos(0) + m_series.XScreenPos(1)) / 2, m_series.XScreenPos(1)}) {
        SCOPED_TRACE(x);
        int black = 0;
        for (int y = m_series.YScreenPos(0) - 4; y <= m_series.YScreenPos(0) + 4; ++y) {
            black += Pixel(image, x, y) == Black;
        }
        EXPECT_EQ(black, 3);
    }
}

TEST_F(ChartRendering, DrawsAtTheImagesDevicePixelRatio) {
    m_series.AddPoint(0, 5, "", clRed);
    m_series.AddPoint(10, 5, "", clGreen);
    const QImage image = Render(2);
    ASSERT_EQ(image.size(), QSize(600, 400));
    EXPECT_EQ(m_chart.Layout().Panel.Right, 300);  // laid out in device-independent pixels
    const int x = (m_series.XScreenPos(0) + m_series.XScreenPos(1)) / 2;
    const int y = m_series.YScreenPos(0);
    EXPECT_EQ(Pixel(image, 2 * x, 2 * y), Green);
    EXPECT_EQ(Pixel(image, 2 * x + 1, 2 * y + 1), Green);
}

TEST_F(ChartRendering, FillsPointersInThePointColourWithABlackOutline) {
    TSeriesPointer pointer = m_series.Pointer();
    pointer.Visible = true;
    pointer.Style = psCircle;
    m_series.SetPointer(pointer);
    m_series.AddPoint(0, 0, "", clRed);
    m_series.AddPoint(10, 10, "", clBlue);
    const QImage image = Render();
    const int x = m_series.XScreenPos(1);
    const int y = m_series.YScreenPos(1);
    EXPECT_EQ(Pixel(image, x - 1, y - 1), Blue);
    // The first pixel of the pointer met from its left is its outline.
    int left = x - 8;
    while (left < x && Pixel(image, left, y - 1) == White) {
        ++left;
    }
    EXPECT_EQ(Pixel(image, left, y - 1), Black);
}

TEST_F(ChartRendering, FillsADiamondWithItsBrushColour) {
    TSeriesPointer pointer = m_series.Pointer();
    pointer.Visible = true;
    pointer.Style = psDiamond;
    pointer.HorizSize = 6;
    pointer.VertSize = 6;
    pointer.Brush.Color = RgbColor(0x8000FF);
    m_series.SetPointer(pointer);
    m_series.AddPoint(0, 0, " ", clBlack);
    m_series.AddPoint(10, 10, " ", clBlack);
    const QImage image = Render();
    const int x = m_series.XScreenPos(1);
    const int y = m_series.YScreenPos(1);
    EXPECT_EQ(Pixel(image, x - 2, y + 2), qRgb(0x80, 0x00, 0xFF));
    EXPECT_EQ(Pixel(image, x, y - 6), Black);  // the top corner
}

TEST_F(ChartRendering, DrawsTheGridDottedSoThatTheBackgroundShowsBetweenTheDots) {
    TChartPen hidden = m_series.LinePen();
    hidden.Visible = false;
    m_series.SetLinePen(hidden);  // nothing but axes and grid
    m_series.AddPoint(0, 0, "", clRed);
    m_series.AddPoint(10, 10, "", clRed);
    const QImage image = Render();
    const std::vector<int>& ticks = m_chart.LeftAxis().TickPositions();
    ASSERT_GE(ticks.size(), 3u);
    const int y = ticks[ticks.size() / 2];
    const int left = m_chart.Layout().Plot.Left;
    for (int x = left + 1; x < left + 21; ++x) {
        SCOPED_TRACE(x);
        const QRgb pixel = Pixel(image, x, y);
        EXPECT_TRUE(pixel == Grey || pixel == White);
        EXPECT_NE(pixel, Pixel(image, x + 1, y));
    }
}

TEST_F(ChartRendering, ShadesTheLegendAlongItsRightAndBottomEdges) {
    m_chart.Legend().SetVisible(true);
    m_chart.Legend().SetColor(RgbColor(0xE9E9E9));
    TLineSeries second;
    second.SetParentChart(&m_chart);
    const QImage image = Render();
    const ChartRect legend = m_chart.Layout().Legend.Rect;
    ASSERT_GT(legend.Width(), 0);
    const int middle = (legend.Top + legend.Bottom) / 2;
    EXPECT_EQ(Pixel(image, legend.Right + 2, middle), Black);          // the shadow
    EXPECT_EQ(Pixel(image, legend.Right + 2, legend.Top + 1), White);  // offset downwards
    EXPECT_EQ(Pixel(image, legend.Left + 5, legend.Bottom + 2), Black);
    EXPECT_EQ(Pixel(image, legend.Left + 1, legend.Bottom + 2), White);  // offset rightwards
    EXPECT_EQ(Pixel(image, legend.Right, middle), Black);                // the frame
    EXPECT_EQ(Pixel(image, legend.Left + 2, legend.Top + 2), qRgb(0xE9, 0xE9, 0xE9));
}

TEST_F(ChartRendering, DrawsARaisedBevelInTheDesktopsColours) {
    m_chart.SetBevelOuter(bvRaised);
    const QImage image = Render();
    const QPalette palette = QGuiApplication::palette();
    EXPECT_EQ(Pixel(image, 0, 100), palette.color(QPalette::Light).rgb());
    EXPECT_EQ(Pixel(image, 150, 0), palette.color(QPalette::Light).rgb());
    EXPECT_EQ(Pixel(image, 299, 100), palette.color(QPalette::Dark).rgb());
    EXPECT_EQ(Pixel(image, 150, 199), palette.color(QPalette::Dark).rgb());
    EXPECT_EQ(Pixel(image, 1, 100), White);
}

}  // namespace
}  // namespace gatool
