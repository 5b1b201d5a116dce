// \brief Line drawing of series; see custom_series.h.
#include "chart/custom_series.h"

#include <algorithm>
#include <cstdlib>

#include "chart/chart_model.h"

namespace gatool {

bool TCustomSeries::PointerHit(ChartPoint point, ChartPoint position) const {
    return m_pointer.Visible &&
           std::abs(static_cast<long long>(point.X) - position.X) < m_pointer.HorizSize &&
           std::abs(static_cast<long long>(point.Y) - position.Y) < m_pointer.VertSize;
}

int TCustomSeries::PointIndexAt(int x, int y) const {
    const int first = FirstVisible();
    // Points may have been cleared since the drawing that found the visible ones.
    const int last = std::min(LastVisible(), Count() - 1);
    if (first < 0) {
        return -1;
    }
    const ChartPoint position{x, y};
    // The line drawn towards the first visible point enters the plot at its left edge; that part
    // belongs to the segment from the point before it, even when neither end lies in the plot.
    std::optional<ChartPoint> previous;
    if (first > 0) {
        previous = LeftEdgeCrossing(first);
    }
    for (int index = first; index <= last; ++index) {
        const ChartPoint point{XScreenPos(index), YScreenPos(index)};
        if (PointerHit(point, position) || point == position) {
            return index;
        }
        if (previous && PointOnSegment(position, *previous, point)) {
            return index - 1;
        }
        previous = point;
    }
    return -1;
}

void TCustomSeries::DrawAllPoints(ChartCanvas& canvas) {
    m_previous.reset();
    TChartSeries::DrawAllPoints(canvas);
}

ChartPoint TCustomSeries::LeftEdgeCrossing(int index) const {
    const TChartAxis& horizontal = Chart().BottomAxis();
    const double edge = horizontal.PixelToValue(horizontal.PixelStart());
    // The previous point lies left of the edge and this one at or right of it, so the x values
    // differ.
    const double x0 = XValue(index - 1);
    const double y0 = YValue(index - 1);
    const double y = y0 + (YValue(index) - y0) * (edge - x0) / (XValue(index) - x0);
    return {horizontal.PixelStart(), Chart().LeftAxis().ValueToPixel(y)};
}

void TCustomSeries::DrawPoint(ChartCanvas& canvas, int index) {
    const ChartPoint at{XScreenPos(index), YScreenPos(index)};
    if (IsDrawable(at)) {
        const TColor color = PointColor(index);
        if (index == FirstVisible() && index > 0) {
            m_previous = DrawnPosition{LeftEdgeCrossing(index), color, false};
        }
        if (m_previous) {
            if (m_previous->At != at) {
                TChartPen segment = m_linePen;
                segment.Color = color;
                canvas.Line(m_previous->At, at, segment);
            }
            if (m_previous->IsPoint) {
                DrawPointer(canvas, m_previous->At, m_previous->Color);
            }
        }
        m_previous = DrawnPosition{at, color, true};
    }
    if (index == LastVisible() && m_previous && m_previous->IsPoint) {
        DrawPointer(canvas, m_previous->At, m_previous->Color);
    }
}

void TCustomSeries::DrawPointer(ChartCanvas& canvas, ChartPoint at, TColor color) {
    if (m_pointer.Visible) {
        DrawPointerShape(canvas, m_pointer, at, m_pointer.HorizSize, m_pointer.VertSize, color);
    }
}

int TCustomSeries::MarkRaise() const {
    return Marks().ArrowLength;
}

void TCustomSeries::DrawLegendSymbol(ChartCanvas& canvas, const ChartRect& box) {
    const ChartPoint centre{(box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2};
    TChartPen line = m_linePen;
    line.Color = SeriesColor();
    canvas.Line({box.Left, centre.Y}, {box.Right, centre.Y}, line);
    if (!m_pointer.Visible) {
        return;
    }
    // Beside a line the pointer keeps to a third of the box; alone it may fill it.
    const int horizSize = m_linePen.Visible ? std::min(m_pointer.HorizSize, box.Width() / 3)
                                            : std::min(m_pointer.HorizSize, box.Width() / 2 + 1);
    const int vertSize = m_linePen.Visible ? std::min(m_pointer.VertSize, box.Height() / 3)
                                           : std::min(m_pointer.VertSize, box.Height() / 2 + 1);
    DrawPointerShape(canvas, m_pointer, centre, horizSize, vertSize, SeriesColor());
}

SeriesMargins TCustomSeries::HorizMargins() const {
    if (!m_pointer.Visible || !m_pointer.InflateMargins) {
        return {};
    }
    return {m_pointer.HorizSize + 1, m_pointer.HorizSize + 1};
}

SeriesMargins TCustomSeries::VertMargins() const {
    if (!m_pointer.Visible || !m_pointer.InflateMargins) {
        return {};
    }
    return {m_pointer.VertSize + 1, m_pointer.VertSize + 1};
}

}  // namespace gatool
