// \brief Figures of a located peak; see peak_figures.h.
#include "analysis/peak_figures.h"

#include "analysis/scan_samples.h"
#include "base/exceptions.h"
#include "base/float_faults.h"

namespace gatool {

std::vector<CurvePoint> FitCurve(const ScanRecord& record, int slit, FitWindow window) {
    const int halfWidth = FitHalfWidth(window);
    const Extended a0 = record.FitA0[slit];
    const Extended a1 = record.FitA1[slit];
    const Extended a2 = record.FitA2[slit];
    const Extended peakStepPos = PositionAt(record, record.PeakIndex[slit]);
    std::vector<CurvePoint> curve;
    for (float t = static_cast<float>(-halfWidth); t <= static_cast<float>(halfWidth);
         t = ToSingle(Extended{t} + 0.1L)) {
        const Extended tt = t;
        curve.push_back(
            {ToDouble(tt * record.StepWidth + peakStepPos), ToDouble(tt * tt * a2 + tt * a1 + a0)});
    }
    return curve;
}

std::optional<double> PeakAsymmetry(const ScanRecord& record, int slit) {
    const int j = record.NearIndex[slit];
    try {
        const Extended neighbours =
            Extended{CountAt(record, slit, j - 1)} + CountAt(record, slit, j + 1);
        return ToDouble(Divide(neighbours, CountAt(record, slit, j)) * 100 * 0.5L - 100);
    } catch (const EMathError&) {
        return std::nullopt;
    }
}

double PeakCurvature(const ScanRecord& record, int slit) {
    const Extended x = record.VertexOffset;
    const Extended fall =
        (x * x - (x - 1) * (x - 1)) * record.FitA2[slit] + 1 * Extended{record.FitA1[slit]};
    return ToDouble(-Divide(fall, record.PeakCount[slit]) * 100);
}

}  // namespace gatool
