// \brief ChartPart: the base of the objects whose property changes redraw a chart.
#pragma once

#include <utility>

namespace gatool {

class ChartModel;

// A setter stores the new value and, only when it differs from the old one, invalidates the chart
// the part belongs to (if it belongs to one).
class ChartPart {
  protected:
    explicit ChartPart(ChartModel* chart) : m_chart(chart) {}
    ~ChartPart() = default;
    ChartPart(const ChartPart&) = delete;
    ChartPart& operator=(const ChartPart&) = delete;

    template <typename Field, typename Value>
    void Change(Field& field, Value&& value) {
        if (!(field == value)) {
            field = std::forward<Value>(value);
            InvalidateChart();
        }
    }

    void InvalidateChart() const;

    ChartModel* m_chart;
};

}  // namespace gatool
