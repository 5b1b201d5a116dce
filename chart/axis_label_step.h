// \brief The distance between two value labels of an axis: the smallest step of the 1-2-5 series,
// starting from 1 (from 1e-12 for spans below 1) or a fixed increment, whose labels fit the axis.
#pragma once

namespace gatool {

struct LabelStepInputs {
    double RangeSpan = 0;
    int PixelLength = 0;
    int LabelSize = 0;         // pixels a label takes along the axis
    int LabelsSeparation = 0;  // minimum gap between labels, in percent of LabelSize
    double Increment = 0;      // smallest step; 0 for none
};

// The next step of the 1-2-5 series: 1 -> 2 -> 5 -> 10 -> 20, and 1e-12 -> 2e-12 -> 5e-12 -> 1e-11;
// a step between two of the series goes to the larger one. The result is the double nearest to the
// decimal value.
double NextLabelStep(double step);

// The label step, at least 1e-12. It never falls below its starting value, so a span of 1 or more
// never gets a step below 1 and a fixed increment is never refined; without a separation it is the
// starting value.
double LabelStep(const LabelStepInputs& inputs);

}  // namespace gatool
