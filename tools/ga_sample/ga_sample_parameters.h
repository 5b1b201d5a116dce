// \brief Parameters of a generated GA file: the header values the instrument writes, the scan
// geometry, and the peaks that the six slits see from scan to scan.
//
// The defaults describe a typical test: 20 scans whose midpoints climb by 100 step numbers, a one
// second counting time, a 50 ns dead time (about 3 % loss at the highest peak) and Poisson noise.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <string>

namespace gatool {

inline constexpr int GaSampleSlitCount = 6;
inline constexpr int GaSampleStepCount = 25;

template <typename T>
using PerSampleSlit = std::array<T, GaSampleSlitCount>;

struct GaSampleParameters {
    int ScanCount = 20;
    std::uint64_t Seed = 1;
    bool AddNoise = true;  // Poisson noise on every raw count and dark count

    // Every slit's true peak lies at GS x MidPos + GI.
    double GS = 1.0012;
    double GI = -4.2;

    // Scan k is centred on FirstMidPos + k x MidPosDrift; steps are StepWidth apart. All in
    // (integer) step numbers, so that every step position is a whole number.
    int FirstMidPos = 1000;
    int MidPosDrift = 100;
    int StepWidth = 2;

    double IntegrationTime = 0.5;  // seconds per sample
    double DeadTime = 5e-8;        // seconds
    int Cy = 4;                    // the counting time is Cy x IntegrationTime x 0.5
    double DarkLevel = 120;        // mean dark count, in raw counts

    // True count rates in counts per second: a Gaussian peak per slit over a flat background.
    // PeakWidth is the Gaussian's standard deviation in step numbers.
    PerSampleSlit<double> PeakHeight{2.1e5, 3.4e5, 4.8e5, 5.6e5, 4.2e5, 2.7e5};
    PerSampleSlit<double> PeakWidth{4.6, 4.8, 5.0, 5.1, 4.9, 4.7};
    double BackgroundRate = 1500;

    // Header values that the instrument writes and the tool keeps without using them. The file
    // holds the year in two digits, so the date lies in 1960 to 2059.
    std::chrono::year_month_day TestDate{std::chrono::year{2024} / std::chrono::March / 14};
    std::string HeaderText = "GA test of the six-slit photometer (generated sample)";
    std::array<double, 3> HeaderValues{21.5, 1013.25, 0};
    double Pr = 1;
};

}  // namespace gatool
