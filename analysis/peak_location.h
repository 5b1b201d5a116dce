// \brief Locating the peak of one slit in one scan: centre of mass, the peak step, and a 5- or
// 7-point least-squares quadratic around it whose vertex gives the peak position and height.
#pragma once

#include <cstdint>

#include "data/ga_test.h"

namespace gatool {

// The fit window of the peak quadratic: 5 or 7 steps centred on the peak step.
enum class FitWindow { FivePoint, SevenPoint };

// Half the window: 2 for the five-point fit, 3 for the seven-point fit.
int FitHalfWidth(FitWindow window);

// a if a > b, else b.
float LargerOf(float a, float b);

// Locates the peak of slit `slit` (0..5) in `record` and writes the results into it. `chosenStep`
// 0 picks the step with the largest count (the first of equal maxima); 1..StepCount is a step the
// operator picked. Raises the floating-point faults where the data allow no result: EInvalidOp when
// no count rises above the end level (the largest count lies at an end of the scan), EZeroDivide
// (EInvalidOp when A1 is 0 too) when the counts in the window have no quadratic component. A
// failure leaves the record updated up to the failing step.
void LocatePeak(ScanRecord& record, std::int32_t chosenStep, int slit, FitWindow window);

}  // namespace gatool
