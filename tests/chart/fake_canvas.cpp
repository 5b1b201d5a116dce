// \brief The recording canvas of the chart tests; see fake_canvas.h.
#include "tests/chart/fake_canvas.h"

namespace gatool {

int FakeCanvas::TextWidth(const TChartFont&, std::string_view text) {
    return m_charWidth * static_cast<int>(text.size());
}

int FakeCanvas::TextHeight(const TChartFont&) {
    return m_lineHeight;
}

void FakeCanvas::FillRect(const ChartRect& rect, TColor color) {
    m_drawing.push_back({DrawKind::FillRect, rect, {}, {}, color, {}, {}});
}

void FakeCanvas::Rectangle(const ChartRect& rect, const ShapeStyle& style) {
    m_drawing.push_back({DrawKind::Rectangle, rect, {}, style.Outline, style.Fill, {}, {}});
}

void FakeCanvas::Ellipse(const ChartRect& box, const ShapeStyle& style) {
    m_drawing.push_back({DrawKind::Ellipse, box, {}, style.Outline, style.Fill, {}, {}});
}

void FakeCanvas::Polygon(std::span<const ChartPoint> corners, const ShapeStyle& style) {
    m_drawing.push_back({DrawKind::Polygon,
                         {},
                         {corners.begin(), corners.end()},
                         style.Outline,
                         style.Fill,
                         {},
                         {}});
}

void FakeCanvas::Line(ChartPoint from, ChartPoint to, const TChartPen& pen) {
    if (pen.Visible) {
        m_drawing.push_back({DrawKind::Line, {}, {from, to}, pen, {}, {}, {}});
    }
}

void FakeCanvas::Pixel(ChartPoint at, TColor color) {
    m_drawing.push_back({DrawKind::Pixel, {}, {at}, {}, color, {}, {}});
}

void FakeCanvas::Text(ChartPoint topLeft, std::string_view text, const TChartFont& font) {
    m_drawing.push_back({DrawKind::Text, {}, {topLeft}, {}, {}, std::string(text), font});
}

void FakeCanvas::TurnedText(ChartPoint start, std::string_view text, const TChartFont& font) {
    m_drawing.push_back({DrawKind::TurnedText, {}, {start}, {}, {}, std::string(text), font});
}

void FakeCanvas::ClipTo(const ChartRect& rect) {
    m_drawing.push_back({DrawKind::ClipTo, rect, {}, {}, {}, {}, {}});
}

void FakeCanvas::NoClip() {
    m_drawing.push_back({DrawKind::NoClip, {}, {}, {}, {}, {}, {}});
}

std::vector<DrawnItem> FakeCanvas::Items(DrawKind kind) const {
    std::vector<DrawnItem> items;
    for (const DrawnItem& item : m_drawing) {
        if (item.Kind == kind) {
            items.push_back(item);
        }
    }
    return items;
}

std::vector<std::string> FakeCanvas::Texts() const {
    std::vector<std::string> texts;
    for (const DrawnItem& item : m_drawing) {
        if (item.Kind == DrawKind::Text || item.Kind == DrawKind::TurnedText) {
            texts.push_back(item.Text);
        }
    }
    return texts;
}

}  // namespace gatool
