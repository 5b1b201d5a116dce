// \brief Test helper: how GoogleTest prints the chart's geometry in failure messages.
#pragma once

#include <ostream>

#include "chart/chart_geometry.h"

namespace gatool {

inline void PrintTo(const ChartPoint& point, std::ostream* out) {
    *out << "(" << point.X << ", " << point.Y << ")";
}

inline void PrintTo(const ChartRect& rect, std::ostream* out) {
    *out << "(" << rect.Left << ", " << rect.Top << ") to (" << rect.Right << ", " << rect.Bottom
         << ")";
}

}  // namespace gatool
