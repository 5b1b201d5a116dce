// \brief The figures the scan graph shows for a located peak: the fitted curve, the asymmetry and
// the curvature. Each reads a record on which LocatePeak has just run for the slit.
#pragma once

#include <optional>
#include <vector>

#include "analysis/peak_location.h"

namespace gatool {

struct CurvePoint {
    double X;
    double Y;
};

// The fitted quadratic sampled at t = -h, -h + 0.1, ... while t <= h, t held in single precision so
// that the accumulated rounding decides the last point (40 points for h = 2, 61 for h = 3).
std::vector<CurvePoint> FitCurve(const ScanRecord& record, int slit, FitWindow window);

// The mean of the two counts beside the nearest step relative to the count there, minus 100, in
// percent. Empty when it cannot be computed (a zero count at the nearest step); the scan graph
// shows "0" then.
std::optional<double> PeakAsymmetry(const ScanRecord& record, int slit);

// (q(X - 1) - q(X)) / PeakCount x 100 with X the vertex offset: the fall of the quadratic one step
// below its vertex relative to the peak height, in percent. Raises the floating-point faults (a
// zero PeakCount divides by zero).
double PeakCurvature(const ScanRecord& record, int slit);

}  // namespace gatool
