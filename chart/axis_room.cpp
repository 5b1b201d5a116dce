// \brief The room an axis takes beside the plot, and its label step; see chart_axis.h.
#include <algorithm>
#include <cmath>

#include "chart/axis_label_step.h"
#include "chart/chart_axis.h"

namespace gatool {

double TChartAxis::CalcLabelStep(ChartCanvas& canvas, int pixelLength) const {
    const int labelSize = m_horizontal
                              ? std::max(canvas.TextWidth(m_labelsFont, LabelText(m_rangeMin)),
                                         canvas.TextWidth(m_labelsFont, LabelText(m_rangeMax)))
                              : canvas.TextHeight(m_labelsFont);
    // The free function; the member LabelStep reads the step of the last drawing.
    return gatool::LabelStep(
        {m_rangeSpan, pixelLength, labelSize, m_labelsSeparation, m_increment});
}

int TChartAxis::LabelWidthEstimate(ChartCanvas& canvas, int pixelLength) const {
    double low = m_rangeMin;
    double high = m_rangeMax;
    if (m_roundFirstLabel) {
        // The step for the length this drawing gives the axis, not the one of the drawing before:
        // the same data then takes the same room however the chart was drawn before.
        const double step = CalcLabelStep(canvas, pixelLength);
        low = std::trunc(m_rangeMin / step) * step;
        high = std::trunc(m_rangeMax / step) * step;
    }
    return std::max(canvas.TextWidth(m_labelsFont, LabelText(high)),
                    canvas.TextWidth(m_labelsFont, LabelText(low))) +
           canvas.TextWidth(m_labelsFont, " ");
}

int TChartAxis::TickStripSize() const {
    const int size = (m_axis.Visible ? m_axis.Width : 0) + (m_ticks.Visible ? m_tickLength : 0);
    return m_minorTicks.Visible ? std::max(size, m_minorTickLength) : size;
}

void TChartAxis::TakeRoom(ChartCanvas& canvas, ChartRect& rect) {
    // From the chart's edge inwards: title strip, label strip, tick strip. A horizontal axis works
    // up from the bottom edge, a vertical one right from the left edge.
    int& edge = m_horizontal ? rect.Bottom : rect.Left;
    const int inwards = m_horizontal ? -1 : 1;
    if (!m_title.Caption.empty()) {
        edge += inwards * (m_titleSize != 0 ? m_titleSize : canvas.TextHeight(m_title.Font));
    }
    m_titlePosition = edge;
    if (m_labels) {
        const int measured = m_horizontal ? canvas.TextHeight(m_labelsFont)
                                          : LabelWidthEstimate(canvas, rect.Height());
        edge += inwards * (m_labelsSize != 0 ? m_labelsSize : measured);
    }
    m_labelsPosition = edge;
    edge += inwards * TickStripSize();
    m_axisPosition = edge;
}

}  // namespace gatool
