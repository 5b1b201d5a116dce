// \brief The legend; see chart_legend.h.
#include "chart/chart_legend.h"

#include <algorithm>
#include <string>
#include <vector>

#include "chart/chart_exceptions.h"
#include "chart/chart_model.h"

namespace gatool {

namespace {

struct LegendRow {
    TChartSeries* Series;
    std::string Text;
};

// Text starts 2 pixels from the right edge, the colour box ends 4 pixels left of the text and
// starts 8 pixels (less its 4-pixel gap) right of the left edge.
constexpr int TextGap = 2;
constexpr int ColorBoxGap = 4;
constexpr int LeftGap = 8;

std::string RowText(const TChartSeries& series, int row) {
    if (!series.Title().empty()) {
        return series.Title();
    }
    if (!series.Name().empty()) {
        return series.Name();
    }
    return "Series " + std::to_string(row);
}

}  // namespace

TChartLegend::TChartLegend(ChartModel& chart) : ChartPart(&chart) {}

void TChartLegend::SetColorWidth(int value) {
    if (value < 0 || value > 100) {
        throw LegendException("Legend Color Width must be between 0 and 100 %");
    }
    Change(m_colorWidth, value);
}

LegendLayout TChartLegend::Draw(ChartCanvas& canvas,
                                const ChartRect& panel,
                                ChartRect& chartRect) const {
    const auto& seriesList = m_chart->SeriesList();
    const auto activeCount = std::count_if(seriesList.begin(), seriesList.end(),
                                           [](const TChartSeries* s) { return s->Active(); });
    if (m_legendStyle == lsAuto && activeCount < 2) {
        return {};
    }
    std::vector<LegendRow> rows;
    for (TChartSeries* series : seriesList) {
        if (series->Active() && series->ShowInLegend()) {
            rows.push_back({series, RowText(*series, static_cast<int>(rows.size()))});
        }
    }

    const int rowHeight = canvas.TextHeight(m_font);
    const int frameWidth = m_frame.Visible ? m_frame.Width : 0;
    const int top = panel.Top + RoundHalfEven(m_topPos * static_cast<double>(panel.Height()) / 100);
    const int fitting = rowHeight > 0 ? (chartRect.Bottom - top - 2 * frameWidth) / rowHeight : 0;
    rows.resize(static_cast<std::size_t>(std::clamp(fitting, 0, static_cast<int>(rows.size()))));
    if (rows.empty()) {
        return {};
    }
    int textWidth = 0;
    for (const LegendRow& row : rows) {
        textWidth = std::max(textWidth, canvas.TextWidth(m_font, row.Text));
    }
    const int bottom = top + static_cast<int>(rows.size()) * rowHeight + 2;
    const int right = chartRect.Right - (m_frame.Visible ? frameWidth + 1 : 0) - m_shadowSize;
    const int colorWidth = RoundHalfEven((textWidth + 10) * m_colorWidth / 100.0);
    const int textLeft = right - textWidth - TextGap;
    const int left = textLeft - colorWidth - LeftGap;

    if (m_shadowSize > 0) {
        // Drawn first, so that it shows only along the box's right and bottom edges.
        const int reach =
            m_frame.Visible ? m_shadowSize + frameWidth + (frameWidth - 1) / 2 : m_shadowSize - 1;
        canvas.FillRect({left + m_shadowSize, top + m_shadowSize, right + reach, bottom + reach},
                        m_shadowColor);
    }
    TChartPen frame = m_frame;
    if (frame.Color == clNotSet) {
        frame.Color = clBlack;
    }
    canvas.Rectangle({left, top, right + frameWidth, bottom + frameWidth}, {frame, m_color});

    for (std::size_t r = 0; r < rows.size(); ++r) {
        const int y = top + 1 + static_cast<int>(r) * rowHeight;
        canvas.Text({textLeft, y}, rows[r].Text, m_font);
        rows[r].Series->DrawLegendSymbol(canvas, {textLeft - ColorBoxGap - colorWidth, y + 2,
                                                  textLeft - ColorBoxGap, y + rowHeight - 2});
        if (r > 0) {
            canvas.Line({left, y}, {right, y}, m_dividingLines);
        }
    }

    if (m_resizeChart) {
        chartRect.Right = left;
        chartRect.Right -= m_horizMargin != 0 ? m_horizMargin : MulDiv(3, chartRect.Width(), 100);
    }
    return {{left, top, right, bottom}, rowHeight, colorWidth};
}

}  // namespace gatool
