// \brief Least-squares straight line; see line_fit.h.
#include "analysis/line_fit.h"

#include "base/float_faults.h"

namespace gatool {

bool FitLine(std::span<const double> x,
             std::span<const double> y,
             int n,
             double& slope,
             double& intercept) {
    Extended sx = 0, sy = 0, sxx = 0, sxy = 0;
    int m = 0;
    for (std::size_t i = 1; i <= static_cast<std::size_t>(n); ++i) {
        if (x[i] == MissingMark) {
            continue;
        }
        sx += x[i];
        sy += y[i];
        sxx += Extended{x[i]} * x[i];
        sxy += Extended{x[i]} * y[i];
        ++m;
    }
    if (m < 3) {
        return false;
    }
    const Extended d = sx * sx - m * sxx;
    if (d == 0) {
        slope = 0;
        intercept = 0;
        return true;
    }
    slope = ToDouble(Divide(sx * sy - m * sxy, d));
    intercept = ToDouble(Divide(sy - slope * sx, m));
    return true;
}

}  // namespace gatool
