// \brief QtChartCanvas: the chart's drawing surface on a QImage through QPainter, the one place
// where chart drawing turns into pixels.
//
// Lines and shapes are drawn without antialiasing, on whole pixels, so that one-pixel lines stay
// sharp and the chart's pixel arithmetic holds; text is antialiased.
//
// One-pixel lines along the axes (frames, grid, ticks) are filled as pixel rectangles, which stay
// on the same whole pixels at every device pixel ratio; Qt would move a line drawn at a ratio of 2
// by half a pixel against the fills. Their dots are written into the image directly: Qt would fill
// a patterned span in worker threads or stroke the dashes through its general stroker, both far
// slower than the few pixels themselves. Ellipses and polygons (the pointers) are drawn once into
// small images and stamped from there. Wide lines that continue one another with the same pen are
// stroked as one polyline: Qt would otherwise round both ends of every segment, which costs more
// than all the rest of a line chart.
//
// TColor values become QColor here only; the desktop's colours come from the application's
// palette.
#pragma once

#include <QImage>
#include <QPainter>
#include <optional>
#include <vector>

#include "chart/chart_canvas.h"
#include "chart/qt_drawing_cache.h"

namespace gatool {

// The colour in Qt's terms; the desktop's colours come from the application's palette.
QColor ToQColor(TColor color);

class QtChartCanvas final : public ChartCanvas {
  public:
    // Draws on `image` (Format_RGB32, or gatool::Exception), in its device-independent pixels, and
    // keeps what later drawings can reuse in `cache`.
    QtChartCanvas(QImage& image, QtDrawingCache& cache);
    ~QtChartCanvas() override;

    int TextWidth(const TChartFont& font, std::string_view text) override;
    int TextHeight(const TChartFont& font) override;
    void FillRect(const ChartRect& rect, TColor color) override;
    void Rectangle(const ChartRect& rect, const ShapeStyle& style) override;
    void Ellipse(const ChartRect& box, const ShapeStyle& style) override;
    void Polygon(std::span<const ChartPoint> corners, const ShapeStyle& style) override;
    void Line(ChartPoint from, ChartPoint to, const TChartPen& pen) override;
    void Pixel(ChartPoint at, TColor color) override;
    void Text(ChartPoint topLeft, std::string_view text, const TChartFont& font) override;
    void TurnedText(ChartPoint start, std::string_view text, const TChartFont& font) override;
    void ClipTo(const ChartRect& rect) override;
    void NoClip() override;

  private:
    // Draws the wide lines collected so far; every drawing but a continuing wide line calls it
    // first, so that the drawing order holds.
    void FlushLines();
    // A one-pixel line along an axis.
    void StraightLine(ChartPoint from, ChartPoint to, const TChartPen& pen);
    void FillDots(const std::vector<QRect>& dots, QRgb color);
    // Stamps the shape with the corners `corners` (an ellipse inscribed in the first two, or a
    // polygon) from its cached image.
    void StampShape(bool ellipse, std::span<const ChartPoint> corners, const ShapeStyle& style);

    QImage& m_image;
    QPainter m_painter;
    QtDrawingCache& m_cache;
    std::optional<ChartRect> m_clip;

    struct PendingLines {
        TChartPen Pen;
        QPolygon Points;
    };
    std::optional<PendingLines> m_pending;
};

}  // namespace gatool
