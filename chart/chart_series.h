// \brief TChartSeries: one series of (x, y) points with their colours and labels, attached to a
// chart, and the drawing steps that every kind of series shares.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "chart/chart_canvas.h"
#include "chart/chart_mouse.h"
#include "chart/chart_part.h"
#include "chart/chart_value_list.h"
#include "chart/mark_placement.h"
#include "chart/series_marks.h"

namespace gatool {

// Room in pixels that a series asks of an axis for its pointers: First is the left (or top) side,
// Second the right (or bottom) side.
struct SeriesMargins {
    int First = 0;
    int Second = 0;
};

class TChartSeries : public ChartPart {
  public:
    TChartSeries();
    virtual ~TChartSeries();

    ChartModel* ParentChart() const { return m_chart; }
    // Detaches the series from its chart, if any, and attaches it at the end of `chart`'s series
    // list (nullptr: attaches it nowhere). A series whose colour is still unset takes the first
    // palette colour that no other series of the chart uses.
    void SetParentChart(ChartModel* chart);

    const std::string& Name() const { return m_name; }
    void SetName(std::string value) { Change(m_name, std::move(value)); }
    TColor SeriesColor() const { return m_seriesColor; }
    void SetSeriesColor(TColor value) { Change(m_seriesColor, value); }
    const std::string& Title() const { return m_title; }
    void SetTitle(std::string value) { Change(m_title, std::move(value)); }
    bool ShowInLegend() const { return m_showInLegend; }
    void SetShowInLegend(bool value) { Change(m_showInLegend, value); }
    bool Active() const { return m_active; }
    void SetActive(bool value) { Change(m_active, value); }
    // The mouse cursor while the mouse is over a point or line of the series.
    TCursor Cursor() const { return m_cursor; }
    void SetCursor(TCursor value) { Change(m_cursor, value); }
    bool ColorEachPoint() const { return m_colorEachPoint; }
    void SetColorEachPoint(bool value) { Change(m_colorEachPoint, value); }
    const std::string& ValueFormat() const { return m_valueFormat; }
    void SetValueFormat(std::string value) { Change(m_valueFormat, std::move(value)); }
    const TSeriesMarks& Marks() const { return m_marks; }
    void SetMarks(const TSeriesMarks& value) { Change(m_marks, value); }

    int Count() const { return m_xValues.Count(); }
    const TChartValueList& XValues() const { return m_xValues; }
    const TChartValueList& YValues() const { return m_yValues; }

    // Adds a point where its x value belongs by the order of XValues and returns its index; the
    // points behind it move up by one. An empty label stores no text.
    virtual int AddPoint(double x, double y, std::string_view label, TColor color);
    virtual void ClearPoints();
    virtual double XValue(int index) const;
    virtual double YValue(int index) const;
    // The stored colour, or the series' colour (the palette colour of the index with
    // ColorEachPoint) where it is unset or beyond the colour list.
    virtual TColor PointColor(int index) const;
    virtual const std::string& PointLabel(int index) const;

    // The value on the series' horizontal (vertical) axis under a client-area coordinate, by the
    // axis state of the last drawing. Raise gatool::Exception for a series without a chart.
    double XValueAtPixel(int x) const;
    double YValueAtPixel(int y) const;
    virtual int XScreenPos(int index) const;
    virtual int YScreenPos(int index) const;

    // The first and last points of the last drawing; -1 for none.
    int FirstVisible() const { return m_firstVisible; }
    int LastVisible() const { return m_lastVisible; }
    // The point, or the first point of the line segment, under a client-area position by the
    // drawing state of the last drawing; -1 for none. A series without lines has none.
    virtual int PointIndexAt(int x, int y) const;
    // Finds the points to draw within `plot` on the axis state of the drawing under way: from the
    // first point at or right of the plot's left edge to the first at or beyond its right edge.
    void CalcFirstLastVisible(const ChartRect& plot);

    // Calls DrawPoint for every index from FirstVisible to LastVisible, in increasing order.
    virtual void DrawAllPoints(ChartCanvas& canvas);
    // Draws the marks of the points that lie in the plot (its right and bottom edges included), if
    // Marks is visible, moved off the marks that `placement` holds from earlier in the drawing. A
    // point outside the plot, such as the one kept beyond its right edge for the line, has no mark.
    void DrawMarks(ChartCanvas& canvas, MarkPlacement& placement);
    // The series' sample in a legend row's colour box: a box filled with the series colour.
    virtual void DrawLegendSymbol(ChartCanvas& canvas, const ChartRect& box);
    virtual SeriesMargins HorizMargins() const;
    virtual SeriesMargins VertMargins() const;
    // Room in pixels above a point that its mark needs: the raise and a box of one line. None
    // while the marks are hidden or the series has no points.
    int MarksRoom(ChartCanvas& canvas) const;

  protected:
    // Whether a screen position can be handed to the drawing surface: far-off points are skipped.
    static bool IsDrawable(ChartPoint at);

    virtual void DrawPoint(ChartCanvas& canvas, int index);
    virtual void DrawPointer(ChartCanvas& canvas, ChartPoint at, TColor color);
    // Pixels between a point and its mark box: none, and no arrow.
    virtual int MarkRaise() const;
    // The chart the series is attached to; raises gatool::Exception for a detached series.
    const ChartModel& Chart() const;

  private:
    void DrawMark(ChartCanvas& canvas, MarkPlacement& placement, int index);

    std::string m_name;
    TColor m_seriesColor = clNotSet;
    std::string m_title;
    bool m_showInLegend = true;
    bool m_active = true;
    TCursor m_cursor = crDefault;
    bool m_colorEachPoint = false;
    std::string m_valueFormat = "#,##0.###";
    TSeriesMarks m_marks;

    TChartValueList m_xValues{"X", loAscending};
    TChartValueList m_yValues{"Y", loNone};
    std::vector<TColor> m_colors;
    std::vector<std::string> m_labels;

    int m_firstVisible = -1;
    int m_lastVisible = -1;
};

}  // namespace gatool
