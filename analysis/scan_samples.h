// \brief Reading a scan's steps the way the analysis sees them: positions and counts of slots
// outside 1..StepCount read as 0 on either side, so fit windows may reach past the scan's ends.
#pragma once

#include "data/ga_test.h"

namespace gatool {

inline float PositionAt(const ScanRecord& record, int step) {
    return step >= 1 && step <= StepCount ? record.StepPos[static_cast<std::size_t>(step)] : 0.0f;
}

inline float CountAt(const ScanRecord& record, int slit, int step) {
    return step >= 1 && step <= StepCount
               ? record.Counts[static_cast<std::size_t>(slit)][static_cast<std::size_t>(step)]
               : 0.0f;
}

}  // namespace gatool
