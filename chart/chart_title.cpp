// \brief Chart titles; see chart_title.h.
#include "chart/chart_title.h"

#include <optional>

#include "chart/text_lines.h"

namespace gatool {

namespace {

// Gap between the title and what lies below it.
constexpr int TitleGap = 5;

}  // namespace

TChartTitle::TChartTitle(ChartModel& chart) : ChartPart(&chart) {}

void TChartTitle::SetText(std::string_view text) {
    SetText(SplitLines(text));
}

ChartRect TChartTitle::Draw(ChartCanvas& canvas, ChartRect& chartRect) const {
    if (!m_visible || m_text.empty()) {
        return {};
    }
    const int lineHeight = canvas.TextHeight(m_font);
    const int frameWidth = m_frame.Visible ? m_frame.Width : 0;
    const ChartRect title{
        chartRect.Left, chartRect.Top, chartRect.Right,
        chartRect.Top + static_cast<int>(m_text.size()) * lineHeight + 2 * frameWidth};

    // Unset colours draw no background.
    std::optional<TColor> background;
    if (m_color != clNotSet) {
        background = m_color;
    } else if (m_brush.Style == bsSolid && m_brush.Color != clNotSet) {
        background = m_brush.Color;
    }
    if (background || m_frame.Visible) {
        canvas.Rectangle(title, {m_frame, background});
    }

    const int margin = canvas.TextWidth(m_font, "W") / 2;
    int top = title.Top + frameWidth;
    for (const std::string& line : m_text) {
        const int width = canvas.TextWidth(m_font, line);
        int left = title.Left + margin;
        if (m_alignment == taRightJustify) {
            left = title.Right - margin - width;
        } else if (m_alignment == taCenter) {
            left = (title.Left + title.Right - width) / 2;
        }
        canvas.Text({left, top}, line, m_font);
        top += lineHeight;
    }
    chartRect.Top = title.Bottom + TitleGap;
    return title;
}

}  // namespace gatool
