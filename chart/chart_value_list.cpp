// \brief Value lists of series; see chart_value_list.h.
#include "chart/chart_value_list.h"

#include <algorithm>
#include <cmath>

namespace gatool {

TChartValueList::TChartValueList(std::string name, TChartListOrder order)
    : m_name(std::move(name)), m_order(order) {}

int TChartValueList::Add(double value) {
    // Scanning backwards from the end keeps adding in order cheap: the usual case appends.
    auto position = m_values.end();
    if (m_order == loAscending) {
        while (position != m_values.begin() && *(position - 1) > value) {
            --position;
        }
    } else if (m_order == loDescending) {
        while (position != m_values.begin() && *(position - 1) < value) {
            --position;
        }
    }
    const auto index = position - m_values.begin();
    m_values.insert(position, value);
    m_statistics.reset();
    return static_cast<int>(index);
}

void TChartValueList::InsertAt(int index, double value) {
    m_values.insert(m_values.begin() + index, value);
    m_statistics.reset();
}

void TChartValueList::Clear() {
    m_values.clear();
    m_statistics.reset();
}

const TChartValueList::Statistics& TChartValueList::Stats() const {
    if (!m_statistics) {
        Statistics stats;
        if (!m_values.empty()) {
            stats.Min = stats.Max = m_values.front();
        }
        for (const double value : m_values) {
            stats.Min = std::min(stats.Min, value);
            stats.Max = std::max(stats.Max, value);
            stats.Total += value;
            stats.TotalAbs += std::abs(value);
        }
        m_statistics = stats;
    }
    return *m_statistics;
}

}  // namespace gatool
