// \brief The automatic range of an axis and its widening for pointers and marks; see chart_axis.h.
#include <algorithm>
#include <optional>

#include "chart/chart_axis.h"
#include "chart/chart_model.h"

namespace gatool {

void TChartAxis::CalcAutomaticRange() {
    const auto& seriesList = m_chart->SeriesList();
    // Inactive series count only while no active series uses the axis.
    const bool anyActive = m_chart->AnyActiveSeries();
    std::optional<double> low;
    std::optional<double> high;
    for (const TChartSeries* series : seriesList) {
        if (series->Count() == 0 || (anyActive && !series->Active())) {
            continue;
        }
        const TChartValueList& values = m_horizontal ? series->XValues() : series->YValues();
        low = low ? std::min(*low, values.MinValue()) : values.MinValue();
        high = high ? std::max(*high, values.MaxValue()) : values.MaxValue();
    }
    // The computed ends are kept in Minimum and Maximum, so that reading them after a drawing gives
    // the range that was drawn.
    if (m_automatic || m_automaticMaximum) {
        m_maximum = high.value_or(0);
    }
    if (m_automatic || m_automaticMinimum) {
        m_minimum = low.value_or(0);
    }
    SetRange(m_minimum, m_maximum);
}

void TChartAxis::ApplySeriesMargins(ChartCanvas& canvas) {
    SeriesMargins margins;
    for (const TChartSeries* series : m_chart->SeriesList()) {
        if (series->Active()) {
            SeriesMargins wanted = m_horizontal ? series->HorizMargins() : series->VertMargins();
            if (!m_horizontal) {
                // Pointer and mark both reach up from the point: the larger one decides.
                wanted.First = std::max(wanted.First, series->MarksRoom(canvas));
            }
            margins.First = std::max(margins.First, wanted.First);
            margins.Second = std::max(margins.Second, wanted.Second);
        }
    }
    // Only automatic ends move: left and right of a horizontal axis, top and bottom of a vertical
    // one.
    const int first = (m_horizontal ? m_automaticMinimum : m_automaticMaximum) ? margins.First : 0;
    const int second =
        (m_horizontal ? m_automaticMaximum : m_automaticMinimum) ? margins.Second : 0;
    if (first == 0 && second == 0) {
        return;
    }
    // The old range is made to fill the axis shortened by the margins; the values at the full
    // axis' ends are the widened range.
    const int start = m_pixelStart;
    const int end = m_pixelEnd;
    SetPixels(start + first, end - second);
    const double atStart = PixelToValue(start);
    const double atEnd = PixelToValue(end);
    SetPixels(start, end);
    SetRange(std::min(atStart, atEnd), std::max(atStart, atEnd));
}

}  // namespace gatool
