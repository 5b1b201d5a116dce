// \brief TChartLegend: the box at the right of the chart with one row per active series: a colour
// box with the series' sample and the series' title.
#pragma once

#include "chart/chart_canvas.h"
#include "chart/chart_part.h"

namespace gatool {

// lsAuto lists the series when the chart has two or more active series; with fewer it would list
// the first series' values, which no chart of the tool shows, so it shows no legend then.
enum TLegendStyle { lsAuto, lsSeries };

// Where the last drawing put the legend.
struct LegendLayout {
    ChartRect Rect;  // empty when no legend was drawn
    int RowHeight = 0;
    int ColorWidth = 0;  // width of the colour boxes
};

class TChartLegend : public ChartPart {
  public:
    explicit TChartLegend(ChartModel& chart);

    bool Visible() const { return m_visible; }
    void SetVisible(bool value) { Change(m_visible, value); }
    TLegendStyle LegendStyle() const { return m_legendStyle; }
    void SetLegendStyle(TLegendStyle value) { Change(m_legendStyle, value); }
    TColor Color() const { return m_color; }
    void SetColor(TColor value) { Change(m_color, value); }
    // Width of the colour boxes in percent of the widest row text plus 10 pixels. Raises
    // LegendException outside 0 to 100.
    int ColorWidth() const { return m_colorWidth; }
    void SetColorWidth(int value);
    int ShadowSize() const { return m_shadowSize; }
    void SetShadowSize(int value) { Change(m_shadowSize, value); }
    TColor ShadowColor() const { return m_shadowColor; }
    void SetShadowColor(TColor value) { Change(m_shadowColor, value); }
    const TChartPen& DividingLines() const { return m_dividingLines; }
    void SetDividingLines(const TChartPen& value) { Change(m_dividingLines, value); }
    const TChartPen& Frame() const { return m_frame; }
    void SetFrame(const TChartPen& value) { Change(m_frame, value); }
    const TChartFont& Font() const { return m_font; }
    void SetFont(const TChartFont& value) { Change(m_font, value); }
    // Top of the legend, in percent of the chart's height.
    int TopPos() const { return m_topPos; }
    void SetTopPos(int value) { Change(m_topPos, value); }
    // The plot gives way to the legend.
    bool ResizeChart() const { return m_resizeChart; }
    void SetResizeChart(bool value) { Change(m_resizeChart, value); }
    // Gap between the legend and the chart rectangle; 0 means 3 percent of the rectangle's width.
    int HorizMargin() const { return m_horizMargin; }
    void SetHorizMargin(int value) { Change(m_horizMargin, value); }

    // Draws the legend at the right edge of `chartRect` in the `panel` and, with ResizeChart, moves
    // the rectangle's right edge left of it.
    LegendLayout Draw(ChartCanvas& canvas, const ChartRect& panel, ChartRect& chartRect) const;

  private:
    bool m_visible = true;
    TLegendStyle m_legendStyle = lsAuto;
    TColor m_color = clWhite;
    int m_colorWidth = 12;
    int m_shadowSize = 3;
    TColor m_shadowColor = clBlack;
    TChartPen m_dividingLines{clBlack, 1, psSolid, false};
    TChartPen m_frame;
    TChartFont m_font;
    int m_topPos = 10;
    bool m_resizeChart = true;
    int m_horizMargin = 0;
};

}  // namespace gatool
