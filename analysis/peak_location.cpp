// \brief Peak location; see peak_location.h.
#include "analysis/peak_location.h"

#include <cmath>
#include <stdexcept>

#include "analysis/scan_samples.h"
#include "base/float_faults.h"

namespace gatool {

namespace {

struct QuadraticFit {
    Extended A0;
    Extended A1;
    Extended A2;
};

// Least-squares (Savitzky-Golay) quadratic over equally spaced points t = -h..h around step k. The
// divisions are multiplications by reciprocals held in extended precision.
QuadraticFit FitQuadratic(const ScanRecord& record, int slit, int k, FitWindow window) {
    const auto c = [&](int offset) -> Extended { return CountAt(record, slit, k + offset); };
    if (window == FitWindow::FivePoint) {
        return {(-6 * c(-2) + 24 * c(-1) + 34 * c(0) + 24 * c(1) - 6 * c(2)) * (1.0L / 70),
                (-2 * c(-2) - c(-1) + c(1) + 2 * c(2)) * (1.0L / 10),
                (2 * c(-2) - c(-1) - 2 * c(0) - c(1) + 2 * c(2)) * (1.0L / 14)};
    }
    return {
        (-40 * c(-3) + 60 * c(-2) + 120 * c(-1) + 140 * c(0) + 120 * c(1) + 60 * c(2) - 40 * c(3)) *
            (1.0L / 420),
        (-45 * c(-3) - 30 * c(-2) - 15 * c(-1) + 15 * c(1) + 30 * c(2) + 45 * c(3)) * (1.0L / 420),
        (25 * c(-3) - 15 * c(-1) - 20 * c(0) - 15 * c(1) + 25 * c(3)) * (1.0L / 420)};
}

void LocateCentreOfMass(ScanRecord& record, int slit) {
    const double endLevel = LargerOf(CountAt(record, slit, 1), CountAt(record, slit, StepCount));
    // The sums are double variables; each term is formed in extended precision.
    double weighted = 0;
    double total = 0;
    for (int i = 1; i <= StepCount; ++i) {
        const float count = CountAt(record, slit, i);
        if (count > endLevel) {
            weighted = static_cast<double>(weighted + Extended{count} * PositionAt(record, i));
            total = static_cast<double>(total + Extended{count});
        }
    }
    record.CentreOfMass[slit] = ToDouble(Divide(weighted, total));
}

std::int32_t LargestCountStep(ScanRecord& record, int slit) {
    std::int32_t peakStep = 0;
    for (int i = 1; i <= StepCount; ++i) {
        if (CountAt(record, slit, i) > record.PeakCount[slit]) {
            record.PeakCount[slit] = CountAt(record, slit, i);
            peakStep = i;
        }
    }
    return peakStep;
}

}  // namespace

int FitHalfWidth(FitWindow window) {
    return window == FitWindow::FivePoint ? 2 : 3;
}

float LargerOf(float a, float b) {
    return a > b ? a : b;
}

void LocatePeak(ScanRecord& record, std::int32_t chosenStep, int slit, FitWindow window) {
    if (chosenStep < 0 || chosenStep > StepCount || slit < 0 || slit >= SlitCount) {
        throw std::out_of_range("LocatePeak: step or slit out of range");
    }
    LocateCentreOfMass(record, slit);

    record.PeakCount[slit] = 0;
    const std::int32_t k = chosenStep == 0 ? LargestCountStep(record, slit) : chosenStep;
    record.PeakIndex[slit] = k;
    record.PeakPos[slit] = PositionAt(record, k);
    record.PeakCount[slit] = CountAt(record, slit, k);

    record.MidPos =
        ToSingle((Extended{PositionAt(record, StepCount)} + PositionAt(record, 1)) * 0.5L);
    record.StepWidth = ToSingle(Extended{PositionAt(record, 2)} - PositionAt(record, 1));

    const QuadraticFit fit = FitQuadratic(record, slit, k, window);
    record.FitA0[slit] = ToSingle(fit.A0);
    record.FitA1[slit] = ToSingle(fit.A1);
    record.FitA2[slit] = ToSingle(fit.A2);

    // From here on the stored singles are used.
    const Extended a0 = record.FitA0[slit];
    const Extended a1 = record.FitA1[slit];
    const Extended a2 = record.FitA2[slit];
    const Extended stepWidth = record.StepWidth;
    record.VertexOffset = ToSingle(Divide(-0.5L * a1, a2));
    record.PeakPos[slit] = ToSingle(PositionAt(record, k) - Divide(stepWidth * a1, a2) * 0.5L);
    const Extended x = record.VertexOffset;
    record.PeakCount[slit] = ToSingle(a1 * x + a0 + x * x * a2);

    // Not cleared first: when no step lies within half a step width, the earlier value stays.
    const Extended peakPos = record.PeakPos[slit];
    for (int i = 1; i <= StepCount; ++i) {
        if (std::fabs(PositionAt(record, i) - peakPos) <= stepWidth * 0.5L) {
            record.NearIndex[slit] = i;
        }
    }
    record.PeakOffset[slit] = ToSingle(peakPos - record.MidPos);
}

}  // namespace gatool
