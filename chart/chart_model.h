// \brief ChartModel: the chart without its window: the series list, the two axes, the legend, the
// title, the panel's look, the repaint flag, the layout that the last drawing left, and the mouse
// handling: clicks on series, the cursor over them, zooming and panning.
//
// A change only marks the chart for repainting and tells the window through the invalidation
// handler, once per drawing; the drawing itself runs when the window paints (Draw). Automatic axis
// ranges, pixel positions and the visible points are computed by the drawing, so what reads them
// (the hit tests of the mouse handling too) sees the state of the last drawing.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "chart/chart_axis.h"
#include "chart/chart_canvas.h"
#include "chart/chart_legend.h"
#include "chart/chart_mouse.h"
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
    bool AnyActiveSeries() const;
    // The first palette colour that no attached series uses.
    TColor FreePaletteColor() const;

    // Marks the chart for drawing. The invalidation handler is called only when this marks a
    // drawn chart: until the next drawing, the window has been told already.
    void Invalidate();
    bool NeedsDrawing() const { return m_needsDrawing; }
    // Installed by the window once the chart is built; until then invalidation only sets the flag.
    void SetInvalidationHandler(std::function<void()> handler) {
        m_onInvalidate = std::move(handler);
    }

    // Draws the chart into a client area of `width` by `height` pixels and keeps the layout.
    void Draw(ChartCanvas& canvas, int width, int height);
    const ChartLayout& Layout() const { return m_layout; }

    // A left-button drag zooms, a right-button drag scrolls in the directions allowed.
    bool AllowZoom() const { return m_allowZoom; }
    void SetAllowZoom(bool value) { Change(m_allowZoom, value); }
    TPanningMode AllowPanning() const { return m_allowPanning; }
    void SetAllowPanning(TPanningMode value) { Change(m_allowPanning, value); }

    // Raised for a press of any button on an active series. The chart sets MouseHandled before it
    // calls the handler; a handler that leaves it set has handled the press, so no drag starts.
    void SetOnClickSeries(TClickSeriesEvent handler) { m_onClickSeries = std::move(handler); }
    // Raised for every move and release before the chart handles them itself.
    void SetOnMouseMove(TMouseMoveEvent handler) { m_onMouseMove = std::move(handler); }
    void SetOnMouseUp(TMouseUpEvent handler) { m_onMouseUp = std::move(handler); }
    bool MouseHandled() const { return m_mouseHandled; }
    void SetMouseHandled(bool value) { m_mouseHandled = value; }

    // The window's mouse messages, in client-area pixels. Exceptions of the handlers reach the
    // caller; the chart's own state stays consistent.
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void MouseMove(TShiftState shift, int x, int y);
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    // The cursor to show: a series' Cursor while the mouse is over that series, else the default.
    TCursor Cursor() const { return m_cursor; }
    // The part under a position, by the layout of the last drawing.
    TChartClickedPart ClickedPart(int x, int y) const;

    // The rectangle of the zoom drag under way, in order (Left <= Right, Top <= Bottom), to be
    // drawn over the chart's image in ZoomPenColor with an inverting raster operation: each pixel
    // becomes NOT(pen XOR pixel). Its outline runs along Left to Right - 1 and Top to Bottom - 1.
    std::optional<ChartRect> ZoomRectangle() const;
    // The chart's Color, or black for a white chart, on which the inverting pen would not show.
    TColor ZoomPenColor() const { return m_color == clWhite ? clBlack : m_color; }

  private:
    friend class TChartSeries;
    void AttachSeries(TChartSeries& series);
    void DetachSeries(TChartSeries& series);

    void DrawPanel(ChartCanvas& canvas) const;
    void DrawBackWall(ChartCanvas& canvas) const;
    void DrawSeries(ChartCanvas& canvas);

    // What an undo zoom restores of an axis.
    struct SavedAxisState {
        bool Automatic;
        bool AutomaticMinimum;
        bool AutomaticMaximum;
        double Minimum;
        double Maximum;
    };

    // A drag after a press that nothing else handled: zooming with the left button, panning with
    // the right one, if allowed.
    void StartDrag(TMouseButton button, int x, int y);
    void SetCursorOverSeries(int x, int y);
    void EndZoomDrag(int x, int y);
    void PanTo(int x, int y);
    // Keeps the axis states for an undo zoom, unless states are kept already.
    void SaveAxisStates();
    void ZoomToRectangle(const ChartRect& rect);
    void UndoZoom();

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

    bool m_allowZoom = true;
    TPanningMode m_allowPanning = pmBoth;
    TClickSeriesEvent m_onClickSeries;
    TMouseMoveEvent m_onMouseMove;
    TMouseUpEvent m_onMouseUp;
    bool m_mouseHandled = false;
    TCursor m_cursor = crDefault;
    TZoomPanningRecord m_zoom;
    TZoomPanningRecord m_panning;
    // Bottom axis, left axis; held from the first zoom or panning step until an undo zoom.
    std::optional<std::array<SavedAxisState, 2>> m_savedAxes;
};

}  // namespace gatool
