// \brief TChartTitle: the lines of text above the plot.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "chart/chart_canvas.h"
#include "chart/chart_part.h"

namespace gatool {

class TChartTitle : public ChartPart {
  public:
    explicit TChartTitle(ChartModel& chart);

    const std::vector<std::string>& Text() const { return m_text; }
    void SetText(std::vector<std::string> lines) { Change(m_text, std::move(lines)); }
    // Replaces the whole text with `text` split into lines (see SplitLines: "" gives no lines).
    void SetText(std::string_view text);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment value) { Change(m_alignment, value); }
    bool Visible() const { return m_visible; }
    void SetVisible(bool value) { Change(m_visible, value); }
    const TChartFont& Font() const { return m_font; }
    void SetFont(const TChartFont& value) { Change(m_font, value); }
    const TChartPen& Frame() const { return m_frame; }
    void SetFrame(const TChartPen& value) { Change(m_frame, value); }
    const TChartBrush& Brush() const { return m_brush; }
    void SetBrush(const TChartBrush& value) { Change(m_brush, value); }
    TColor Color() const { return m_color; }
    void SetColor(TColor value) { Change(m_color, value); }

    // Draws a visible title at the top of `chartRect` across its width and moves the rectangle's
    // top 5 pixels below the last line; returns the title rectangle (empty when nothing was drawn).
    // A title without lines takes no room.
    ChartRect Draw(ChartCanvas& canvas, ChartRect& chartRect) const;

  private:
    std::vector<std::string> m_text;
    TAlignment m_alignment = taCenter;
    bool m_visible = true;
    TChartFont m_font{"Arial", 8, clBlue};
    TChartPen m_frame{clBlack, 1, psSolid, false};
    TChartBrush m_brush{clNotSet, bsSolid};
    TColor m_color = clNotSet;
};

}  // namespace gatool
