// \brief The state that a chart's last drawing left, as JSON: per shown axis its range, pixels,
// label step, labels and ticks; the chart, plot, title and legend rectangles; per series the
// visible points and the screen position of every point.
#pragma once

#include <nlohmann/json.hpp>

#include "chart/chart_model.h"

namespace gatool {

nlohmann::json ChartStateJson(const ChartModel& chart);

}  // namespace gatool
