// \brief Label steps; see axis_label_step.h.
#include "chart/axis_label_step.h"

#include <algorithm>
#include <cmath>

#include "chart/chart_geometry.h"

namespace gatool {

namespace {

constexpr double SmallestStep = 1e-12;
constexpr double MaxLabelCount = 2147483647.0;
constexpr double StepTolerance = 1e-9;

// 10^exponent for exponent >= 0; exact up to 10^22.
double PowerOfTen(int exponent) {
    double power = 1;
    for (int i = 0; i < exponent; ++i) {
        power *= 10;
    }
    return power;
}

// How many labels of `labelSize` pixels with their separation fit into `pixelLength`.
int LabelsThatFit(int pixelLength, int labelSize, int labelsSeparation) {
    if (labelSize <= 0) {
        return 1;
    }
    const int gap = labelsSeparation > 0
                        ? RoundHalfEven(labelSize * static_cast<double>(labelsSeparation) / 100)
                        : 0;
    return RoundHalfEven(static_cast<double>(pixelLength) / (labelSize + gap));
}

}  // namespace

double NextLabelStep(double step) {
    if (!(step > 0) || std::isinf(step)) {
        return step;
    }
    // step = mantissa x 10^decade with the mantissa in [1, 10); log10 may land one decade off
    // next to a power of ten.
    int decade = static_cast<int>(std::floor(std::log10(step)));
    double mantissa = decade >= 0 ? step / PowerOfTen(decade) : step * PowerOfTen(-decade);
    if (mantissa >= 10) {
        mantissa /= 10;
        ++decade;
    } else if (mantissa < 1) {
        mantissa *= 10;
        --decade;
    }
    // A mantissa a few units in the last place below a step of the series counts as that step.
    const double nearly = mantissa * (1 + StepTolerance);
    const double next = nearly < 2 ? 2 : nearly < 5 ? 5 : nearly < 10 ? 10 : 20;
    // The double nearest to the decimal step (0.05, 2e-12), so that whole multiples of the step
    // land on the round values the labels show.
    return decade >= 0 ? next * PowerOfTen(decade) : next / PowerOfTen(-decade);
}

double LabelStep(const LabelStepInputs& inputs) {
    const int fitting =
        LabelsThatFit(inputs.PixelLength, inputs.LabelSize, inputs.LabelsSeparation);
    if (fitting < 1) {
        return SmallestStep;
    }
    double step = std::max(inputs.Increment > 0              ? inputs.Increment
                           : std::abs(inputs.RangeSpan) >= 1 ? 1.0
                                                             : SmallestStep,
                           SmallestStep);
    if (inputs.LabelsSeparation > 0) {
        // The walk stops at an infinite step, which a span beyond the double range would reach.
        int labels = fitting + 1;
        do {
            const double quotient = inputs.RangeSpan / step;
            if (std::abs(quotient) < MaxLabelCount) {
                labels = RoundHalfEven(quotient);
                if (labels > fitting) {
                    step = NextLabelStep(step);
                }
            } else {
                step = NextLabelStep(step);
            }
        } while (labels > fitting && std::isfinite(step));
    }
    return std::max(step, SmallestStep);
}

}  // namespace gatool
