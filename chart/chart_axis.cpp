// \brief Axis properties, range rules and the pixel mapping; see chart_axis.h.
#include "chart/chart_axis.h"

#include <cmath>
#include <utility>

#include "chart/chart_exceptions.h"
#include "chart/chart_model.h"
#include "numtext/float_to_pattern_text.h"

namespace gatool {

namespace {

// The smallest span that SetAxisRange leaves.
constexpr double MinimumSpan = 1e-10;
// Offsets of this many pixels or more are not mapped.
constexpr double MaxPixelOffset = 2147483647.0;

}  // namespace

TChartAxis::TChartAxis(ChartModel& chart, bool horizontal)
    : ChartPart(&chart), m_horizontal(horizontal) {}

void TChartAxis::SetAutomatic(bool value) {
    Change(m_automatic, value);
    Change(m_automaticMinimum, value);
    Change(m_automaticMaximum, value);
}

void TChartAxis::SetAutomaticMinimum(bool value) {
    Change(m_automaticMinimum, value);
    if (!value || m_automaticMaximum) {
        Change(m_automatic, value);
    }
}

void TChartAxis::SetAutomaticMaximum(bool value) {
    Change(m_automaticMaximum, value);
    if (!value || m_automaticMinimum) {
        Change(m_automatic, value);
    }
}

void TChartAxis::SetMinimum(double value) {
    if (value > m_maximum) {
        throw AxisException("Axis Minimum Value must be <= Maximum");
    }
    Change(m_minimum, value);
}

void TChartAxis::SetMaximum(double value) {
    if (value < m_minimum) {
        throw AxisException("Axis Maximum Value must be >= Minimum");
    }
    Change(m_maximum, value);
}

void TChartAxis::SetAxisRange(double minimum, double maximum) {
    m_automatic = false;
    m_automaticMinimum = false;
    m_automaticMaximum = false;
    if (minimum > maximum) {
        std::swap(minimum, maximum);
    }
    Change(m_minimum, minimum);
    Change(m_maximum, maximum);
    if (m_maximum - m_minimum < MinimumSpan) {
        Change(m_maximum, m_minimum + MinimumSpan);
    }
}

double TChartAxis::PixelToValue(int pixel) const {
    if (m_pixelLength <= 0) {
        return 0;
    }
    // Multiplied first, then divided.
    const double offset = static_cast<double>(pixel - m_pixelStart) * m_rangeSpan / m_pixelLength;
    return m_horizontal ? m_rangeMin + offset : m_rangeMax - offset;
}

int TChartAxis::ValueToPixel(double value) const {
    if (m_rangeSpan == 0) {
        return m_pixelCentre;
    }
    const double offset = (value - m_rangeMin) * m_pixelLength / m_rangeSpan;
    if (!(std::abs(offset) < MaxPixelOffset)) {
        return m_pixelCentre;
    }
    const long long rounded = RoundHalfEven(offset);
    return m_horizontal ? ClampToInt(m_pixelStart + rounded) : ClampToInt(m_pixelEnd - rounded);
}

void TChartAxis::SetPixels(int start, int end) {
    m_pixelStart = start;
    m_pixelEnd = end;
    m_pixelLength = end - start;
    m_pixelCentre = (start + end) / 2;
}

void TChartAxis::SetRange(double minimum, double maximum) {
    m_rangeMin = minimum;
    m_rangeMax = maximum;
    m_rangeSpan = maximum - minimum;
}

void TChartAxis::SetPixelPositions(const ChartRect& plot) {
    if (m_horizontal) {
        SetPixels(plot.Left, plot.Right);
    } else {
        SetPixels(plot.Top, plot.Bottom);
    }
}

bool TChartAxis::IsShown() const {
    return m_chart->AxisVisible() && m_visible && m_chart->AnyActiveSeries();
}

std::string TChartAxis::LabelText(double value) const {
    return FloatToPatternText(m_axisValuesFormat, value);
}

}  // namespace gatool
