// \brief The drawing surface a chart is laid out and drawn on: text measurement and the few
// primitives the drawing needs, in integer pixels of the chart's client area.
//
// The layout and drawing of a chart are written against this interface only, so that they can be
// tested with a canvas that measures text with fixed metrics. The Qt implementation is the one that
// draws pixels.
#pragma once

#include <span>
#include <string_view>

#include "chart/chart_drawing_tools.h"
#include "chart/chart_geometry.h"

namespace gatool {

class ChartCanvas {
  public:
    virtual ~ChartCanvas() = default;

    // Width of `text` in `font`, in pixels.
    virtual int TextWidth(const TChartFont& font, std::string_view text) = 0;
    // Height of one line of text in `font`: the height of "W".
    virtual int TextHeight(const TChartFont& font) = 0;

    virtual void FillRect(const ChartRect& rect, TColor color) = 0;
    // The outline runs along the rectangle's own edge pixels (Left and Right - 1, Top and
    // Bottom - 1).
    virtual void Rectangle(const ChartRect& rect, const ShapeStyle& style) = 0;
    // The ellipse inscribed in `box`.
    virtual void Ellipse(const ChartRect& box, const ShapeStyle& style) = 0;
    virtual void Polygon(std::span<const ChartPoint> corners, const ShapeStyle& style) = 0;
    // A line from `from` up to but not including `to`; nothing for a pen that is not visible. The
    // gaps of a dotted pen leave what lies below visible.
    virtual void Line(ChartPoint from, ChartPoint to, const TChartPen& pen) = 0;
    virtual void Pixel(ChartPoint at, TColor color) = 0;
    // One line of text in the font's colour with a transparent background, its top-left corner at
    // `topLeft`.
    virtual void Text(ChartPoint topLeft, std::string_view text, const TChartFont& font) = 0;
    // One line of text turned 90 degrees to read upwards: the top of the line runs along x =
    // start.X and the text begins at y = start.Y and runs up from there.
    virtual void TurnedText(ChartPoint start, std::string_view text, const TChartFont& font) = 0;

    // Limits the drawing that follows to `rect`, until NoClip.
    virtual void ClipTo(const ChartRect& rect) = 0;
    virtual void NoClip() = 0;
};

}  // namespace gatool
