// \brief ChartModel: the chart without its window: the series list, the two axes, the legend, the
// title, the panel's look, the repaint flag and the layout that the last drawing left.
//
// A change only marks the chart for repainting and tells the window through the invalidation
// handler; the drawing itself runs when the window paints (Draw). Automatic axis ranges, pixel
// positions and the visible points are computed by the drawing, so what reads them sees the state
// of the last drawing.
#pragma once

#include <functional>
#include <vector>

#include "chart/chart_axis.h"
#include "chart/chart_canvas.h"
#include "chart/chart_legend.h"
#include "chart/chart_part.h"
#include "chart/chart_series.h"
#include "chart/chart_title.h"

namespace gatool {

enum TPanelBevel { bvNone, bvLowered, bvRaised };

// The plot's background and frame.
struct TChartWall {
    TChartBrush Brush{clWhite, bsClear};
    TChartPen Pen;
    bool operator==(const TChartWall&) const = default;
};

// The rectangles of the last drawing.
struct ChartLayout {
    ChartRect Panel;  // the client area
    ChartRect Chart;  // the panel less the margins
    ChartRect Title;  // empty when no title was drawn
    LegendLayout Legend;
    ChartRect Plot;  // what the title, legend and axes left of Chart
};

// The chart's own properties invalidate it like those of its parts.
class ChartModel : public ChartPart {
  public:
    ChartModel();
    ~ChartModel();

    TChartAxis& BottomAxis() { return m_bottomAxis; }
    const TChartAxis& BottomAxis() const { return m_bottomAxis; }
    TChartAxis& LeftAxis() { return m_leftAxis; }
    const TChartAxis& LeftAxis() const { return m_leftAxis; }
    TChartLegend& Legend() { return m_legend; }
    const TChartLegend& Legend() const { return m_legend; }
    TChartTitle& Title() { return m_title; }
    const TChartTitle& Title() const { return m_title; }

    const TChartWall& BackWall() const { return m_backWall; }
    void SetBackWall(const TChartWall& value) { Change(m_backWall, value); }
    TColor Color() const { return m_color; }
    void SetColor(TColor value) { Change(m_color, value); }
    TPanelBevel BevelOuter() const { return m_bevelOuter; }
    void SetBevelOuter(TPanelBevel value) { Change(m_bevelOuter, value); }
    bool AxisVisible() const { return m_axisVisible; }
    void SetAxisVisible(bool value) { Change(m_axisVisible, value); }
    // Space between the panel's edge and the chart, in percent of the panel's width (left, right)
    // or height (top, bottom).
    int MarginLeft() const { return m_marginLeft; }
    void SetMarginLeft(int value) { Change(m_marginLeft, value); }
    int MarginTop() const { return m_marginTop; }
    void SetMarginTop(int value) { Change(m_marginTop, value); }
    int MarginRight() const { return m_marginRight; }
    void SetMarginRight(int value) { Change(m_marginRight, value); }
    int MarginBottom() const { return m_marginBottom; }
    void SetMarginBottom(int value) { Change(m_marginBottom, value); }

    // The attached series in the order they joined: the drawing order.
    const std::vector<TChartSeries*>& SeriesList() const { return m_series; }
    // The first palette colour that no attached series uses.
    TColor FreePaletteColor() const;

    // Marks the chart for drawing and calls the invalidation handler.
    void Invalidate();
    bool NeedsDrawing() const { return m_needsDrawing; }
    // Installed by the window once the chart is built; until then invalidation only sets the flag.
    void SetInvalidationHandler(std::function<void()> handler) {
        m_onInvalidate = std::move(handler);
    }

    // Draws the chart into a client area of `width` by `height` pixels and keeps the layout.
    void Draw(ChartCanvas& canvas, int width, int height);
    const ChartLayout& Layout() const { return m_layout; }

  private:
    friend class TChartSeries;
    void AttachSeries(TChartSeries& series);
    void DetachSeries(TChartSeries& series);

    void DrawPanel(ChartCanvas& canvas) const;
    void DrawBackWall(ChartCanvas& canvas) const;
    void DrawSeries(ChartCanvas& canvas);

    TChartAxis m_bottomAxis{*this, true};
    TChartAxis m_leftAxis{*this, false};
    TChartLegend m_legend{*this};
    TChartTitle m_title{*this};
    TChartWall m_backWall;
    TColor m_color = clBtnFace;
    TPanelBevel m_bevelOuter = bvRaised;
    bool m_axisVisible = true;
    int m_marginLeft = 3;
    int m_marginTop = 4;
    int m_marginRight = 3;
    int m_marginBottom = 4;

    std::vector<TChartSeries*> m_series;
    bool m_needsDrawing = true;
    std::function<void()> m_onInvalidate;
    ChartLayout m_layout;
};

}  // namespace gatool
