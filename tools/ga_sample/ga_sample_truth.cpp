// \brief True geometry and count rates of a generated GA file; see ga_sample_truth.h.
#include "tools/ga_sample/ga_sample_truth.h"

#include <cmath>
#include <cstddef>

namespace gatool {

int ScanMidPos(const GaSampleParameters& parameters, int scan) {
    return parameters.FirstMidPos + scan * parameters.MidPosDrift;
}

int StepPosition(const GaSampleParameters& parameters, int scan, int step) {
    const int centreStep = (GaSampleStepCount + 1) / 2;
    return ScanMidPos(parameters, scan) + (step - centreStep) * parameters.StepWidth;
}

double TruePeakPos(const GaSampleParameters& parameters, int scan) {
    return parameters.GS * ScanMidPos(parameters, scan) + parameters.GI;
}

double TrueCountRate(const GaSampleParameters& parameters, int slit, int scan, double stepPos) {
    const auto slitIndex = static_cast<std::size_t>(slit);
    const double distance =
        (stepPos - TruePeakPos(parameters, scan)) / parameters.PeakWidth[slitIndex];
    return parameters.BackgroundRate +
           parameters.PeakHeight[slitIndex] * std::exp(-0.5 * distance * distance);
}

}  // namespace gatool
