// \brief The in-memory record of one loaded GA test: header values, the scan records with their
// corrected counts and peak results, and the values the analysis and the window share.
//
// Fixed-size storage that starts out zeroed; loads overwrite it in place. Per-scan values are
// single precision, header values and dispersion coefficients double precision.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace gatool {

inline constexpr int StepCount = 25;    // steps per scan
inline constexpr int MaxSteps = 49;     // step slots 1..49 exist besides slot 0, which stays 0
inline constexpr int MaxScans = 50;     // scan records 0..49
inline constexpr int LineBuffer = 256;  // header text line: 255 characters and a terminator
inline constexpr int SlitCount = 6;

using StepArray = std::array<float, MaxSteps + 1>;
template <typename T>
using PerSlit = std::array<T, SlitCount>;

struct GaHeader {
    double IntegrationTime = 0;  // seconds per sample
    double DeadTime = 0;         // the file's "dt", seconds
    std::int32_t Cy = 0;         // the file's "cy", multiplier of the counting time
    // Calendar date of the "dh" line; empty when the file gave no readable date.
    std::optional<std::chrono::year_month_day> TestDate;
    std::string HeaderText;  // at most LineBuffer - 1 characters
    double HeaderValue1 = 0;
    double HeaderValue2 = 0;
    double HeaderValue3 = 0;
    double Pr = 0;  // the file's "pr"
};

struct ScanRecord {
    StepArray StepPos{};
    PerSlit<StepArray> Counts{};
    PerSlit<float> PeakPos{};
    float MidPos = 0;
    PerSlit<float> PeakCount{};
    PerSlit<float> PeakOffset{};
    PerSlit<float> FitA2{};
    PerSlit<float> FitA1{};
    PerSlit<float> FitA0{};
    float StepWidth = 0;
    float VertexOffset = 0;  // t of the vertex of the quadratic fitted last in this scan
    PerSlit<std::int32_t> PeakIndex{};
    PerSlit<std::int32_t> NearIndex{};
    PerSlit<double> CentreOfMass{};
};

// Row s holds c0, c1, c2 of slit s: wavelength = c0 + c1 x + c2 x^2 for step position x.
using DispersionCoefficients = std::array<std::array<double, 3>, SlitCount>;

struct GaTest {
    GaHeader Header;
    std::array<ScanRecord, MaxScans> Scans{};
    std::int32_t LastScan = -1;  // index of the last scan read; -1 when none is loaded
    std::int32_t SelectedScan = 1;
    std::int32_t ShownScan = 0;
    std::int32_t ShownSlit = 0;
    float CurrentGS = 0;
    float CurrentGI = 0;
    DispersionCoefficients DispersionTable{};
};

}  // namespace gatool
