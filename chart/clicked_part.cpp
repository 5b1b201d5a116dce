// \brief Which part of a chart lies under a position, by the layout of the last drawing; see
// chart_model.h.
#include "chart/chart_model.h"

namespace gatool {

namespace {

// How far the strip of an axis reaches into the plot.
constexpr int AxisStripInside = 3;

// The tick area along the axis and 3 pixels into the plot; the labels lie outside it.
ChartRect AxisStrip(const TChartAxis& axis) {
    if (axis.Horizontal()) {
        return {axis.PixelStart(), axis.AxisPosition() - AxisStripInside, axis.PixelEnd(),
                axis.LabelsPosition()};
    }
    return {axis.LabelsPosition(), axis.PixelStart(), axis.AxisPosition() + AxisStripInside,
            axis.PixelEnd()};
}

// The rows of a drawn legend: one pixel inside its top and bottom edges.
ChartRect LegendRows(const LegendLayout& legend) {
    return {legend.Rect.Left, legend.Rect.Top + 1, legend.Rect.Right, legend.Rect.Bottom - 1};
}

}  // namespace

TChartClickedPart ChartModel::ClickedPart(int x, int y) const {
    // The series drawn last lies on top, so it is tested first.
    for (auto series = m_series.rbegin(); series != m_series.rend(); ++series) {
        if ((*series)->Active()) {
            const int index = (*series)->PointIndexAt(x, y);
            if (index != -1) {
                return {cpSeries, *series, index};
            }
        }
    }
    const ChartPoint position{x, y};
    for (const TChartAxis* axis : {&m_bottomAxis, &m_leftAxis}) {
        if (axis->IsShown() && AxisStrip(*axis).Contains(position)) {
            return {cpAxis};
        }
    }
    if (m_title.Visible() && m_layout.Title.Contains(position)) {
        return {cpTitle};
    }
    if (m_layout.Plot.Contains(position) && AnyActiveSeries()) {
        return {cpChartRect};
    }
    if (m_legend.Visible() && LegendRows(m_layout.Legend).Contains(position)) {
        return {cpLegend};
    }
    return {};
}

}  // namespace gatool
