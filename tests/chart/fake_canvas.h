// \brief Test helper: a chart canvas with fixed text metrics that records what is drawn, in order,
// so that layout and drawing rules can be checked without a drawing surface.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "chart/chart_canvas.h"

namespace gatool {

enum class DrawKind {
    FillRect,
    Rectangle,
    Ellipse,
    Polygon,
    Line,
    Pixel,
    Text,
    TurnedText,
    ClipTo,
    NoClip
};

struct DrawnItem {
    DrawKind Kind;
    ChartRect Box;                   // FillRect, Rectangle, Ellipse, ClipTo
    std::vector<ChartPoint> Points;  // Polygon corners; Line from and to; Pixel, Text, TurnedText
    TChartPen Pen;                   // Line; Rectangle, Ellipse and Polygon outline
    std::optional<TColor> Fill;      // FillRect, Rectangle, Ellipse, Polygon; Pixel colour
    std::string Text;
    TChartFont Font;
};

class FakeCanvas : public ChartCanvas {
  public:
    // Every character is CharWidth pixels wide and every line LineHeight pixels high.
    FakeCanvas(int charWidth = 6, int lineHeight = 13)
        : m_charWidth(charWidth), m_lineHeight(lineHeight) {}

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

    // Everything drawn so far, in order; lines of invisible pens are not drawn.
    const std::vector<DrawnItem>& Drawing() const { return m_drawing; }
    std::vector<DrawnItem> Items(DrawKind kind) const;
    // The texts drawn, in order.
    std::vector<std::string> Texts() const;
    void Clear() { m_drawing.clear(); }

  private:
    int m_charWidth;
    int m_lineHeight;
    std::vector<DrawnItem> m_drawing;
};

}  // namespace gatool
