// \brief TCustomSeries: the line-drawing layer of the series: segments between the points in each
// end point's colour, pointers at the points, and marks raised above them on arrows.
#pragma once

#include <optional>

#include "chart/chart_series.h"
#include "chart/series_pointer.h"

namespace gatool {

class TCustomSeries : public TChartSeries {
  public:
    const TChartPen& LinePen() const { return m_linePen; }
    void SetLinePen(const TChartPen& value) { Change(m_linePen, value); }
    const TSeriesPointer& Pointer() const { return m_pointer; }
    void SetPointer(const TSeriesPointer& value) { Change(m_pointer, value); }

    // The first match from FirstVisible to LastVisible: the point whose pointer box holds the
    // position, the point at the position, or the segment from the previous point that holds it
    // (its first point), the one into the first visible point counted from where it enters the
    // plot. The segments count also when the line pen is hidden; the pen's width does not widen
    // them.
    int PointIndexAt(int x, int y) const override;

    void DrawAllPoints(ChartCanvas& canvas) override;
    // A line through the middle of the box in the series colour and, with a visible pointer, the
    // pointer shape scaled to the box.
    void DrawLegendSymbol(ChartCanvas& canvas, const ChartRect& box) override;
    // Half a pointer and one pixel on each side, for visible pointers that inflate the margins.
    SeriesMargins HorizMargins() const override;
    SeriesMargins VertMargins() const override;

  protected:
    TCustomSeries() = default;

    // Draws the segment from the previous point to this one and then the previous point's pointer,
    // so that every pointer lies over both lines that meet at it.
    void DrawPoint(ChartCanvas& canvas, int index) override;
    void DrawPointer(ChartCanvas& canvas, ChartPoint at, TColor color) override;
    // The marks stand on arrows of the marks' ArrowLength.
    int MarkRaise() const override;

  private:
    // Whether the visible pointer of a point at `point` holds `position`: strictly inside its
    // half-sizes.
    bool PointerHit(ChartPoint point, ChartPoint position) const;
    // Where the line towards the first drawn point enters the plot at its left edge.
    ChartPoint LeftEdgeCrossing(int index) const;

    TChartPen m_linePen;
    TSeriesPointer m_pointer;

    // The point drawn last in the drawing under way; not a point when it is the entry at the left
    // edge.
    struct DrawnPosition {
        ChartPoint At;
        TColor Color = clNotSet;
        bool IsPoint = false;
    };
    std::optional<DrawnPosition> m_previous;
};

}  // namespace gatool
