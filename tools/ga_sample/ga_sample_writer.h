// \brief Writes the text of a GA file as the instrument does: the header, then per scan a "DARK"
// line and 25 lines of a step position and the raw counts of slits 0 to 5, all lines ending in
// CR LF and all numbers in C notation whatever the process locale.
#pragma once

#include <string>

#include "tools/ga_sample/ga_sample_parameters.h"

namespace gatool {

// The whole file text. The raw counts are the true rates of ga_sample_truth.h after the counter's
// dead-time loss, N0 = N x exp(-N x DeadTime), times the counting time, plus the dark count.
// Raises Exception for parameters that the instrument could not have written or the reader could
// not take back (no counting time, a peak width of 0, a date outside 1960 to 2059 and the like).
std::string GenerateGaText(const GaSampleParameters& parameters);

}  // namespace gatool
