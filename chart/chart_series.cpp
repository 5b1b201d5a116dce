// \brief Series points and shared drawing steps; see chart_series.h.
#include "chart/chart_series.h"

#include <algorithm>
#include <optional>

#include "base/exceptions.h"
#include "chart/chart_model.h"
#include "numtext/float_to_pattern_text.h"

namespace gatool {

namespace {

// Screen coordinates beyond this are not handed to the drawing surface.
constexpr int DrawableLimit = 32766;

}  // namespace

TChartSeries::TChartSeries() : ChartPart(nullptr) {}

TChartSeries::~TChartSeries() {
    if (m_chart != nullptr) {
        m_chart->DetachSeries(*this);
    }
}

void TChartSeries::SetParentChart(ChartModel* chart) {
    if (chart == m_chart) {
        return;
    }
    if (m_chart != nullptr) {
        m_chart->DetachSeries(*this);
    }
    m_chart = chart;
    if (chart != nullptr) {
        if (m_seriesColor == clNotSet) {
            m_seriesColor = chart->FreePaletteColor();
        }
        chart->AttachSeries(*this);
    }
}

int TChartSeries::AddPoint(double x, double y, std::string_view label, TColor color) {
    const int index = m_xValues.Add(x);
    m_yValues.InsertAt(index, y);
    const auto at = static_cast<std::ptrdiff_t>(index);
    m_colors.insert(m_colors.begin() + at, color);
    m_labels.insert(m_labels.begin() + at, std::string(label));
    if (m_active) {
        InvalidateChart();
    }
    return index;
}

void TChartSeries::ClearPoints() {
    m_xValues.Clear();
    m_yValues.Clear();
    m_colors.clear();
    m_labels.clear();
    if (m_active) {
        InvalidateChart();
    }
}

double TChartSeries::XValue(int index) const {
    return m_xValues.Value(index);
}

double TChartSeries::YValue(int index) const {
    return m_yValues.Value(index);
}

TColor TChartSeries::PointColor(int index) const {
    if (index < 0 || index >= static_cast<int>(m_colors.size())) {
        return m_seriesColor;
    }
    const TColor stored = m_colors[static_cast<std::size_t>(index)];
    if (stored != clNotSet) {
        return stored;
    }
    return m_colorEachPoint ? PaletteColor(static_cast<std::size_t>(index)) : m_seriesColor;
}

const std::string& TChartSeries::PointLabel(int index) const {
    return m_labels[static_cast<std::size_t>(index)];
}

const ChartModel& TChartSeries::Chart() const {
    if (m_chart == nullptr) {
        throw Exception("The series \"" + m_name + "\" belongs to no chart");
    }
    return *m_chart;
}

double TChartSeries::XValueAtPixel(int x) const {
    return Chart().BottomAxis().PixelToValue(x);
}

double TChartSeries::YValueAtPixel(int y) const {
    return Chart().LeftAxis().PixelToValue(y);
}

int TChartSeries::XScreenPos(int index) const {
    return Chart().BottomAxis().ValueToPixel(XValue(index));
}

int TChartSeries::YScreenPos(int index) const {
    return Chart().LeftAxis().ValueToPixel(YValue(index));
}

int TChartSeries::PointIndexAt(int, int) const {
    return -1;
}

void TChartSeries::CalcFirstLastVisible(const ChartRect& plot) {
    m_firstVisible = -1;
    m_lastVisible = -1;
    const TChartAxis& axis = Chart().BottomAxis();
    const double low = axis.PixelToValue(plot.Left);
    const double high = axis.PixelToValue(plot.Right);
    int first = 0;
    while (first < Count() && XValue(first) < low) {
        ++first;
    }
    if (first == Count()) {
        return;
    }
    // One point at or beyond the right edge is kept, so that the line runs out of the plot.
    int last = first;
    while (last < Count() - 1 && XValue(last) < high) {
        ++last;
    }
    m_firstVisible = first;
    m_lastVisible = last;
}

bool TChartSeries::IsDrawable(ChartPoint at) {
    return -DrawableLimit <= at.X && at.X <= DrawableLimit && -DrawableLimit <= at.Y &&
           at.Y <= DrawableLimit;
}

void TChartSeries::DrawAllPoints(ChartCanvas& canvas) {
    if (m_firstVisible < 0) {
        return;
    }
    for (int index = m_firstVisible; index <= m_lastVisible; ++index) {
        DrawPoint(canvas, index);
    }
}

void TChartSeries::DrawMarks(ChartCanvas& canvas, MarkPlacement& placement) {
    if (!m_marks.Visible || m_firstVisible < 0) {
        return;
    }
    const ChartRect& plot = Chart().Layout().Plot;
    const ChartRect shown{plot.Left, plot.Top, plot.Right + 1, plot.Bottom + 1};
    for (int index = m_firstVisible; index <= m_lastVisible; ++index) {
        if (shown.Contains({XScreenPos(index), YScreenPos(index)})) {
            DrawMark(canvas, placement, index);
        }
    }
}

void TChartSeries::DrawLegendSymbol(ChartCanvas& canvas, const ChartRect& box) {
    canvas.FillRect(box, m_seriesColor);
}

SeriesMargins TChartSeries::HorizMargins() const {
    return {};
}

SeriesMargins TChartSeries::VertMargins() const {
    return {};
}

int TChartSeries::MarksRoom(ChartCanvas& canvas) const {
    if (!m_marks.Visible || Count() == 0) {
        return 0;
    }
    return MarkRaise() + MarkBoxHeight(canvas, m_marks, 1);
}

void TChartSeries::DrawPoint(ChartCanvas&, int) {}

void TChartSeries::DrawPointer(ChartCanvas&, ChartPoint, TColor) {}

int TChartSeries::MarkRaise() const {
    return 0;
}

void TChartSeries::DrawMark(ChartCanvas& canvas, MarkPlacement& placement, int index) {
    const std::string& label = PointLabel(index);
    const std::string text =
        label.empty() ? FloatToPatternText(m_valueFormat, YValue(index)) : label;
    const ChartPoint at{XScreenPos(index), YScreenPos(index)};
    const int raise = MarkRaise();
    const std::optional<ChartRect> wanted = MarkBoxRect(canvas, m_marks, text, at, raise);
    if (!wanted) {
        return;
    }
    const ChartRect placed = placement.Place(*wanted, at.X);
    DrawMarkBox(canvas, m_marks, text, at, raise, PointColor(index), Chart().Color(),
                {placed.Left - wanted->Left, placed.Top - wanted->Top});
}

}  // namespace gatool
