// \brief Drawing an axis: labels, axis line, ticks, grid, minor ticks and title; see chart_axis.h.
#include <algorithm>
#include <cmath>
#include <optional>

#include "chart/chart_axis.h"
#include "chart/chart_model.h"

namespace gatool {

namespace {

// Beyond this many labels the axis shows none.
constexpr double MaxValueLabels = 10000;

}  // namespace

void TChartAxis::Draw(ChartCanvas& canvas, const ChartRect& plot) {
    m_tickPositions.clear();
    m_drawnLabels.clear();
    m_labelStep = CalcLabelStep(canvas, m_pixelLength);
    switch (ResolvedLabelStyle()) {
        case talValue:
            DrawValueLabels(canvas);
            break;
        case talText:
            DrawTextLabels(canvas);
            break;
        case talAuto:
        case talNone:
            break;
    }
    if (m_axis.Visible) {
        canvas.Line(m_horizontal ? ChartPoint{m_pixelStart, m_axisPosition}
                                 : ChartPoint{m_axisPosition, m_pixelStart},
                    m_horizontal ? ChartPoint{m_pixelEnd, m_axisPosition}
                                 : ChartPoint{m_axisPosition, m_pixelEnd},
                    m_axis);
    }
    if (m_ticks.Visible) {
        for (const int position : m_tickPositions) {
            DrawTick(canvas, position, m_tickLength, m_ticks);
        }
    }
    DrawGrid(canvas, plot);
    DrawMinorTicks(canvas);
    DrawTitle(canvas);
}

TAxisLabelStyle TChartAxis::ResolvedLabelStyle() const {
    if (m_labelStyle != talAuto) {
        return m_labelStyle;
    }
    // Series plot their x values on the horizontal axis: that axis shows the points' labels when
    // an active series has a label at its first point.
    bool anyActive = false;
    for (const TChartSeries* series : m_chart->SeriesList()) {
        if (series->Active()) {
            anyActive = true;
            if (m_horizontal && series->Count() > 0 && !series->PointLabel(0).empty()) {
                return talText;
            }
        }
    }
    return anyActive ? talValue : talNone;
}

void TChartAxis::DrawValueLabels(ChartCanvas& canvas) {
    const double step = m_labelStep;
    if (!(step > 0) || m_rangeMax < m_rangeMin || std::abs(m_rangeSpan / step) >= MaxValueLabels) {
        return;
    }
    if (m_rangeSpan == 0) {
        DrawValueLabel(canvas, m_rangeMax);
        return;
    }
    // Labels run downwards from the top end on whole multiples of the step; the allowance at the
    // low end keeps a label that falls on RangeMin despite rounding. A step too small to change
    // the value ends the walk.
    double value = m_roundFirstLabel ? std::trunc(m_rangeMax / step) * step : m_rangeMax;
    while (value > m_rangeMax && value - step != value) {
        value -= step;
    }
    const double lowest = (m_rangeMin - 1e-12) / 1.000000000001;
    while (value >= lowest) {
        DrawValueLabel(canvas, value);
        if (value - step == value) {
            break;
        }
        value -= step;
    }
}

void TChartAxis::DrawValueLabel(ChartCanvas& canvas, double value) {
    const int position = ValueToPixel(value);
    if (!m_labelsOnAxis && !(m_pixelStart < position && position < m_pixelEnd)) {
        return;
    }
    if (!m_tickOnLabelsOnly) {
        AddTick(position);
    }
    if (m_labels) {
        DrawLabel(canvas, LabelText(value), position);
        if (m_tickOnLabelsOnly) {
            AddTick(position);
        }
    }
}

void TChartAxis::DrawTextLabels(ChartCanvas& canvas) {
    std::vector<const TChartSeries*> sources;
    for (const TChartSeries* series : m_chart->SeriesList()) {
        if (series->Active() && series->Count() > 0) {
            sources.push_back(series);
        }
    }
    const auto withFirst = std::find_if(sources.begin(), sources.end(), [](const TChartSeries* s) {
        return s->FirstVisible() >= 0;
    });
    if (withFirst == sources.end()) {
        return;
    }
    const int first = (*withFirst)->FirstVisible();
    int last = -1;
    for (const TChartSeries* series : sources) {
        last = std::max(last, series->LastVisible());
    }

    struct Placed {
        int Position;
        int HalfSize;
    };
    std::optional<Placed> previous;
    for (int index = first; index <= last; ++index) {
        // The first series long enough supplies the label and its position.
        const auto source =
            std::find_if(sources.begin(), sources.end(),
                         [index](const TChartSeries* s) { return s->Count() > index; });
        if (source == sources.end()) {
            continue;
        }
        const double value = m_horizontal ? (*source)->XValue(index) : (*source)->YValue(index);
        if (value < m_rangeMin || value > m_rangeMax) {
            continue;
        }
        const int position = ValueToPixel(value);
        if (!m_tickOnLabelsOnly) {
            AddTick(position);
        }
        if (!m_labels) {
            continue;
        }
        const std::string& text = (*source)->PointLabel(index);
        const int size =
            m_horizontal ? canvas.TextWidth(m_labelsFont, text) : canvas.TextHeight(m_labelsFont);
        // A label that would overlap the one drawn before it, widened by the separation, is left
        // out.
        const int halfSize = previous && m_labelsSeparation != 0
                                 ? (size + static_cast<int>(size * 0.02 * m_labelsSeparation)) / 2
                                 : size / 2;
        if (previous && position - halfSize < previous->Position + previous->HalfSize &&
            previous->Position - previous->HalfSize < position + halfSize) {
            continue;
        }
        DrawLabel(canvas, text, position);
        if (m_tickOnLabelsOnly) {
            AddTick(position);
        }
        previous = Placed{position, halfSize};
    }
}

void TChartAxis::DrawLabel(ChartCanvas& canvas, const std::string& text, int position) {
    const int width = canvas.TextWidth(m_labelsFont, text);
    if (m_horizontal) {
        canvas.Text({position - width / 2, m_labelsPosition}, text, m_labelsFont);
    } else {
        canvas.Text({m_labelsPosition - width, position - canvas.TextHeight(m_labelsFont) / 2},
                    text, m_labelsFont);
    }
    m_drawnLabels.push_back({text, position});
}

void TChartAxis::AddTick(int position) {
    if (m_tickPositions.size() < MaxTicks) {
        m_tickPositions.push_back(position);
    }
}

void TChartAxis::DrawTick(ChartCanvas& canvas, int position, int length, const TChartPen& pen) {
    // Ticks point away from the plot and start one pixel outside the axis line's position.
    if (m_horizontal) {
        canvas.Line({position, m_axisPosition + 1}, {position, m_axisPosition + 1 + length}, pen);
    } else {
        canvas.Line({m_axisPosition - 1, position}, {m_axisPosition - 1 - length, position}, pen);
    }
}

void TChartAxis::DrawGrid(ChartCanvas& canvas, const ChartRect& plot) {
    if (!m_grid.Visible) {
        return;
    }
    TChartPen pen = m_grid;
    if (pen.Color == clNotSet) {
        pen.Color = clGray;
    }
    // Across the plot inside its frame.
    for (const int position : m_tickPositions) {
        if (m_horizontal) {
            canvas.Line({position, plot.Top + 1}, {position, plot.Bottom}, pen);
        } else {
            canvas.Line({plot.Left + 1, position}, {plot.Right, position}, pen);
        }
    }
}

void TChartAxis::DrawMinorTicks(ChartCanvas& canvas) {
    if (!m_minorTicks.Visible || m_tickPositions.empty()) {
        return;
    }
    const auto drawBetween = [&](int from, int to) {
        for (int k = 1; k <= m_minorTickCount; ++k) {
            const int position =
                to - RoundHalfEven(k * static_cast<double>(to - from) / (m_minorTickCount + 1));
            if (m_pixelStart < position && position < m_pixelEnd) {
                DrawTick(canvas, position, m_minorTickLength, m_minorTicks);
            }
        }
    };
    const std::vector<int>& ticks = m_tickPositions;
    for (std::size_t i = 1; i < ticks.size(); ++i) {
        drawBetween(ticks[i - 1], ticks[i]);
    }
    if (ticks.size() >= 2) {
        // The spacing of the outer pairs continues beyond the first and the last tick.
        const int first = ticks[0];
        const int last = ticks.back();
        drawBetween(2 * first - ticks[1], first);
        drawBetween(last, 2 * last - ticks[ticks.size() - 2]);
    }
}

void TChartAxis::DrawTitle(ChartCanvas& canvas) {
    if (m_title.Caption.empty()) {
        return;
    }
    const int width = canvas.TextWidth(m_title.Font, m_title.Caption);
    if (m_horizontal) {
        canvas.Text({m_pixelCentre - width / 2, m_titlePosition}, m_title.Caption, m_title.Font);
    } else {
        canvas.TurnedText(
            {m_titlePosition - canvas.TextHeight(m_title.Font), m_pixelCentre + width / 2},
            m_title.Caption, m_title.Font);
    }
}

}  // namespace gatool
