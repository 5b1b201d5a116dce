// \brief The least-squares straight line through points (x[i], y[i]), i = 1..n.
#pragma once

#include <span>

namespace gatool {

// A point whose x value equals MissingMark exactly takes no part in the fit.
inline constexpr double MissingMark = -999;

// Fits y = slope x + intercept over x[1..n], y[1..n] (index 0 is not read), leaving out the points
// marked missing. With fewer than 3 points left, slope and intercept are not touched and the
// result is false. With all x values equal, both become 0. Raises the floating-point faults.
bool FitLine(std::span<const double> x,
             std::span<const double> y,
             int n,
             double& slope,
             double& intercept);

}  // namespace gatool
