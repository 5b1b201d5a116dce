// \brief Correction of a raw count for the dark count and the counter's dead time.
#pragma once

#include "data/ga_test.h"

namespace gatool {

// The count rate N of a raw count r with dark count d: N0 = (r - d) / (Cy x IntegrationTime x 0.5),
// then N solves N = N0 x exp(N x DeadTime) by exactly 8 fixed-point iterations from N = N0, with no
// convergence test (an iterate that repeats ends the loop early, since every later one would be the
// same). N0 and every iterate are stored as singles; the arithmetic between is at least double.
// Raises the floating-point faults: a zero Cy or IntegrationTime divides by zero, and an iteration
// that runs away (N0 x DeadTime above 1/e) ends in EOverflow.
float CorrectDeadTime(const GaHeader& header, float dark, float raw);

}  // namespace gatool
