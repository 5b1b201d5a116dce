// \brief TChartValueList: the x or the y values of a series, placed by the list's order, with
// statistics that are cached until the list changes.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace gatool {

enum TChartListOrder { loNone, loAscending, loDescending };

class TChartValueList {
  public:
    TChartValueList(std::string name, TChartListOrder order);

    const std::string& Name() const { return m_name; }
    TChartListOrder Order() const { return m_order; }

    int Count() const { return static_cast<int>(m_values.size()); }
    double Value(int index) const { return m_values[static_cast<std::size_t>(index)]; }

    // Places `value` by the order and returns its index. loNone appends. loAscending puts it
    // behind every value less than or equal to it (so equal values keep the order in which they
    // came), loDescending behind every value greater than or equal to it.
    int Add(double value);
    void InsertAt(int index, double value);
    void Clear();

    // Statistics of the values, recomputed in one pass at the first read after a change; 0 for an
    // empty list.
    double MinValue() const { return Stats().Min; }
    double MaxValue() const { return Stats().Max; }
    double Total() const { return Stats().Total; }
    double TotalABS() const { return Stats().TotalAbs; }

  private:
    struct Statistics {
        double Min = 0;
        double Max = 0;
        double Total = 0;
        double TotalAbs = 0;
    };

    const Statistics& Stats() const;

    std::string m_name;
    TChartListOrder m_order;
    std::vector<double> m_values;
    mutable std::optional<Statistics> m_statistics;  // empty while stale
};

}  // namespace gatool
