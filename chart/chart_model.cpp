// \brief The chart's series list and repaint flag; see chart_model.h.
#include "chart/chart_model.h"

#include <algorithm>

namespace gatool {

ChartModel::ChartModel() : ChartPart(this) {}

ChartModel::~ChartModel() {
    // The window is going away: detaching the series repaints nothing.
    m_onInvalidate = nullptr;
    for (TChartSeries* series : std::vector<TChartSeries*>(m_series)) {
        series->SetParentChart(nullptr);
    }
}

bool ChartModel::AnyActiveSeries() const {
    return std::any_of(m_series.begin(), m_series.end(),
                       [](const TChartSeries* s) { return s->Active(); });
}

TColor ChartModel::FreePaletteColor() const {
    for (const TColor color : Palette) {
        if (std::none_of(m_series.begin(), m_series.end(),
                         [color](const TChartSeries* s) { return s->SeriesColor() == color; })) {
            return color;
        }
    }
    return PaletteColor(m_series.size());
}

void ChartModel::AttachSeries(TChartSeries& series) {
    m_series.push_back(&series);
    Invalidate();
}

void ChartModel::DetachSeries(TChartSeries& series) {
    std::erase(m_series, &series);
    Invalidate();
}

void ChartModel::Invalidate() {
    // The window was told with the first change since the last drawing; a chart that adds
    // hundreds of points tells it once.
    if (m_needsDrawing) {
        return;
    }
    m_needsDrawing = true;
    if (m_onInvalidate) {
        m_onInvalidate();
    }
}

}  // namespace gatool
