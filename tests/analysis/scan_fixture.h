// Builds scan records with chosen counts for the analysis tests.
#pragma once

#include <functional>
#include <initializer_list>

#include "data/ga_test.h"

namespace gatool::testing {

// Positions 100, 104, ... (step width 4) and the count of slit `slit` at each step from `count`.
inline ScanRecord Scan(const std::function<float(int step)>& count, int slit = 0) {
    ScanRecord record;
    for (int i = 1; i <= StepCount; ++i) {
        record.StepPos[static_cast<std::size_t>(i)] = static_cast<float>(100 + 4 * (i - 1));
        record.Counts[static_cast<std::size_t>(slit)][static_cast<std::size_t>(i)] = count(i);
    }
    return record;
}

// Background 1 everywhere, and the given counts from step `first` on.
inline ScanRecord ScanWith(int first, std::initializer_list<float> counts, int slit = 0) {
    return Scan(
        [&](int i) {
            const int offset = i - first;
            return offset >= 0 && offset < static_cast<int>(counts.size())
                       ? *(counts.begin() + offset)
                       : 1.0f;
        },
        slit);
}

}  // namespace gatool::testing
