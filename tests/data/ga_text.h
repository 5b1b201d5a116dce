// Builds small GA file texts for the reader tests.
#pragma once

#include <functional>
#include <string>

#include "data/ga_test.h"

namespace gatool::testing {

// A header with IntegrationTime 0.5, dead time `deadTime`, cy 4 (so that a raw count r with dark d
// gives the rate r - d when the dead time is 0), 9 December 2026.
inline std::string HeaderText(const std::string& lineEnd = "\r\n",
                              const std::string& deadTime = "0") {
    return "Integration time is 0.5 seconds per sample" + lineEnd + "dt " + deadTime + lineEnd +
           "cy 4" + lineEnd + "dh 9 12 26" + lineEnd + "Test of slits" + lineEnd + "1.5 2.5 3.5" +
           lineEnd + "pr 1013.25" + lineEnd;
}

// Raw count of slit s at step i.
using RawCount = std::function<double(int s, int i)>;

// A peak centred on step `peakStep` over a background: every slit has a clear maximum, so every
// peak location succeeds.
inline RawCount PeakCounts(int peakStep = 13) {
    return [peakStep](int s, int i) {
        const int d = i - peakStep;
        return 1000.0 + 100.0 * s + 50000.0 / (1 + d * d);
    };
}

// One scan block: "DARK", the dark count, StepCount lines of a position and six raw counts.
inline std::string BlockText(double dark,
                             double firstPos,
                             double stepWidth,
                             const RawCount& raw = PeakCounts(),
                             const std::string& lineEnd = "\r\n") {
    std::string text = "DARK " + std::to_string(dark) + lineEnd;
    for (int i = 1; i <= StepCount; ++i) {
        text += std::to_string(firstPos + (i - 1) * stepWidth);
        for (int s = 0; s < SlitCount; ++s) {
            text += ' ' + std::to_string(raw(s, i));
        }
        text += lineEnd;
    }
    return text;
}

inline std::string GaText(int blocks, const std::string& lineEnd = "\r\n") {
    std::string text = HeaderText(lineEnd);
    for (int k = 0; k < blocks; ++k) {
        text += BlockText(100, 1000 + 10 * k, 4, PeakCounts(), lineEnd);
    }
    return text;
}

}  // namespace gatool::testing
