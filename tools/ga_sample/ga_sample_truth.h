// \brief The true geometry and count rates behind a generated GA file, so that tests can compare
// what the analysis finds with what went into the file.
#pragma once

#include "tools/ga_sample/ga_sample_parameters.h"

namespace gatool {

// Midpoint of scan k (0-based), in step numbers: (position of step 1 + position of step 25) / 2.
int ScanMidPos(const GaSampleParameters& parameters, int scan);

// Position of step i (1 to GaSampleStepCount) of scan k.
int StepPosition(const GaSampleParameters& parameters, int scan, int step);

// Where every slit's peak truly lies in scan k: GS x MidPos + GI.
double TruePeakPos(const GaSampleParameters& parameters, int scan);

// True count rate (counts per second, before dead-time loss) of a slit at a step position.
double TrueCountRate(const GaSampleParameters& parameters, int slit, int scan, double stepPos);

}  // namespace gatool
