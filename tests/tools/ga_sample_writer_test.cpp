// \brief Tests of the GA sample writer: line ends and block layout, header lines, step positions,
// reproducibility, the dead-time and noise model, where the peaks lie, and locale independence.
#include "tools/ga_sample/ga_sample_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstddef>
#include <functional>
#include <locale>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "base/exceptions.h"
#include "tools/ga_sample/ga_sample_truth.h"

namespace gatool {
namespace {

constexpr std::string_view LineEnd = "\r\n";
constexpr std::size_t HeaderLineCount = 7;
constexpr std::size_t NumbersPerStep = 1 + GaSampleSlitCount;  // position, then slits 0 to 5

struct ParsedScan {
    long long Dark = 0;
    std::vector<std::vector<long long>> Steps;  // Steps[i - 1] holds step i
};

struct ParsedGaText {
    std::vector<std::string> HeaderLines;
    std::vector<ParsedScan> Scans;
};

// The lines without their CR LF; raises for any other line end.
std::vector<std::string> SplitCrLfLines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find(LineEnd, start);
        if (end == std::string::npos) {
            throw std::runtime_error("the text does not end in CR LF");
        }
        std::string line = text.substr(start, end - start);
        if (line.find_first_of("\r\n") != std::string::npos) {
            throw std::runtime_error("bare CR or LF in line '" + line + "'");
        }
        lines.push_back(std::move(line));
        start = end + LineEnd.size();
    }
    return lines;
}

// Blank-separated whole numbers; raises for any other token.
std::vector<long long> WholeNumbers(std::string_view line) {
    std::vector<long long> numbers;
    std::size_t start = line.find_first_not_of(' ');
    while (start != std::string_view::npos) {
        const std::size_t end = std::min(line.find(' ', start), line.size());
        long long value = 0;
        const auto result = std::from_chars(line.data() + start, line.data() + end, value);
        if (result.ec != std::errc{} || result.ptr != line.data() + end) {
            throw std::runtime_error("not a whole number in '" + std::string(line) + "'");
        }
        numbers.push_back(value);
        start = line.find_first_not_of(' ', end);
    }
    return numbers;
}

// Header lines, then blocks of a "DARK" line and 25 lines of 7 whole numbers up to the end.
ParsedGaText ParseGaText(const std::string& text) {
    const std::vector<std::string> lines = SplitCrLfLines(text);
    if (lines.size() < HeaderLineCount) {
        throw std::runtime_error("the header is cut short");
    }
    ParsedGaText parsed;
    parsed.HeaderLines.assign(lines.begin(), lines.begin() + HeaderLineCount);
    for (std::size_t next = HeaderLineCount; next < lines.size();) {
        const std::string& darkLine = lines[next++];
        const std::vector<long long> dark = darkLine.starts_with("DARK ")
                                                ? WholeNumbers(darkLine.substr(5))
                                                : std::vector<long long>{};
        if (dark.size() != 1) {
            throw std::runtime_error("expected \"DARK\" and one number: '" + darkLine + "'");
        }
        ParsedScan scan{dark.front(), {}};
        for (int step = 1; step <= GaSampleStepCount; ++step) {
            if (next == lines.size()) {
                throw std::runtime_error("a block is cut short");
            }
            scan.Steps.push_back(WholeNumbers(lines[next++]));
            if (scan.Steps.back().size() != NumbersPerStep) {
                throw std::runtime_error("expected 7 numbers: '" + lines[next - 1] + "'");
            }
        }
        parsed.Scans.push_back(std::move(scan));
    }
    return parsed;
}

double CountingTime(const GaSampleParameters& parameters) {
    return parameters.Cy * parameters.IntegrationTime * 0.5;
}

// How the reader corrects a raw count: N0 = (r - d) / counting time, then exactly 8 rounds of
// N = N0 x exp(N x DeadTime).
double CorrectedRate(const GaSampleParameters& parameters, long long dark, long long raw) {
    const double observedRate = static_cast<double>(raw - dark) / CountingTime(parameters);
    double rate = observedRate;
    for (int round = 0; round < 8; ++round) {
        rate = observedRate * std::exp(rate * parameters.DeadTime);
    }
    return rate;
}

GaSampleParameters WithoutNoise(GaSampleParameters parameters = {}) {
    parameters.AddNoise = false;
    return parameters;
}

// Step (1-based) with the largest count of a slit; the first of equal maxima.
int MaximumStep(const ParsedScan& scan, int slit) {
    const auto column = static_cast<std::size_t>(1 + slit);
    int best = 1;
    for (int step = 2; step <= GaSampleStepCount; ++step) {
        if (scan.Steps[static_cast<std::size_t>(step - 1)][column] >
            scan.Steps[static_cast<std::size_t>(best - 1)][column]) {
            best = step;
        }
    }
    return best;
}

long long RawCount(const ParsedScan& scan, int step, int slit) {
    return scan.Steps[static_cast<std::size_t>(step - 1)][static_cast<std::size_t>(1 + slit)];
}

long long Position(const ParsedScan& scan, int step) {
    return scan.Steps[static_cast<std::size_t>(step - 1)][0];
}

TEST(GaSampleWriter, EveryLineEndsInCrLfAndNoLineFeedStandsAlone) {
    const std::string text = GenerateGaText({});
    const auto count = [&](std::string_view what) {
        std::size_t found = 0;
        for (std::size_t at = text.find(what); at != std::string::npos;
             at = text.find(what, at + 1)) {
            ++found;
        }
        return found;
    };
    EXPECT_TRUE(text.ends_with(LineEnd));
    EXPECT_EQ(count("\n"), count(LineEnd));
    EXPECT_EQ(count("\r"), count(LineEnd));
    EXPECT_GT(count(LineEnd), HeaderLineCount);
}

class GaSampleWriterScanCount : public testing::TestWithParam<int> {};

TEST_P(GaSampleWriterScanCount, WritesOneDarkBlockOfTwentyFiveStepLinesPerScan) {
    GaSampleParameters parameters;
    parameters.ScanCount = GetParam();
    ParsedGaText parsed;
    ASSERT_NO_THROW(parsed = ParseGaText(GenerateGaText(parameters)));
    EXPECT_EQ(parsed.Scans.size(), static_cast<std::size_t>(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(NoneOneTwentyAndFifty,
                         GaSampleWriterScanCount,
                         testing::Values(0, 1, 20, 50));

TEST(GaSampleWriter, HeaderLinesCarryTheInstrumentValuesInCNotation) {
    GaSampleParameters parameters;
    parameters.IntegrationTime = 0.25;
    parameters.DeadTime = 3.5e-8;
    parameters.Cy = 2;
    parameters.TestDate = std::chrono::year{2007} / std::chrono::July / 5;
    parameters.HeaderText = "Roof station, run 12";
    parameters.HeaderValues = {-1.5, 1e-9, 123456.789};
    parameters.Pr = 0.75;
    const ParsedGaText parsed = ParseGaText(GenerateGaText(parameters));
    const std::vector<std::string> expected{"Integration time is 0.25 seconds per sample",
                                            "dt 3.5e-08",
                                            "cy 2",
                                            "dh 5 7 07",
                                            "Roof station, run 12",
                                            "-1.5 1e-09 123456.789",
                                            "pr 0.75"};
    EXPECT_EQ(parsed.HeaderLines, expected);
}

TEST(GaSampleWriter, TwoDigitYearsCoverNineteenSixtyToTwentyFiftyNine) {
    struct Case {
        std::chrono::year_month_day Date;
        const char* DateLine;
    };
    using namespace std::chrono;
    const Case cases[] = {{year{2024} / March / 14, "dh 14 3 24"},
                          {year{1960} / January / 1, "dh 1 1 60"},
                          {year{2059} / December / 31, "dh 31 12 59"},
                          {year{2000} / February / 29, "dh 29 2 00"}};
    for (const Case& testCase : cases) {
        SCOPED_TRACE(testCase.DateLine);
        GaSampleParameters parameters;
        parameters.TestDate = testCase.Date;
        EXPECT_EQ(ParseGaText(GenerateGaText(parameters)).HeaderLines[3], testCase.DateLine);
    }
}

TEST(GaSampleWriter, RejectsParametersTheReaderCouldNotTakeBack) {
    struct Case {
        const char* What;
        std::function<void(GaSampleParameters&)> Change;
    };
    using namespace std::chrono;
    const Case cases[] = {
        {"negative scan count", [](auto& p) { p.ScanCount = -1; }},
        {"step width 0", [](auto& p) { p.StepWidth = 0; }},
        {"integration time 0", [](auto& p) { p.IntegrationTime = 0; }},
        {"cy 0", [](auto& p) { p.Cy = 0; }},
        {"negative dead time", [](auto& p) { p.DeadTime = -1e-9; }},
        {"GS not a number", [](auto& p) { p.GS = std::nan(""); }},
        {"GI infinite", [](auto& p) { p.GI = HUGE_VAL; }},
        {"negative dark level", [](auto& p) { p.DarkLevel = -1; }},
        {"negative background", [](auto& p) { p.BackgroundRate = -1; }},
        {"negative peak height", [](auto& p) { p.PeakHeight[0] = -1; }},
        {"peak width 0", [](auto& p) { p.PeakWidth[5] = 0; }},
        {"rate x dead time at 1", [](auto& p) { p.DeadTime = 1 / (1500 + 5.6e5); }},
        {"empty header text", [](auto& p) { p.HeaderText.clear(); }},
        {"header text of two lines", [](auto& p) { p.HeaderText = "one\r\ntwo"; }},
        {"header text after a blank", [](auto& p) { p.HeaderText = " text"; }},
        {"header text of 256 characters", [](auto& p) { p.HeaderText.assign(256, 'x'); }},
        {"year 1959", [](auto& p) { p.TestDate = year{1959} / December / 31; }},
        {"year 2060", [](auto& p) { p.TestDate = year{2060} / January / 1; }},
        {"30 February", [](auto& p) { p.TestDate = year{2024} / February / 30; }},
    };
    for (const Case& testCase : cases) {
        SCOPED_TRACE(testCase.What);
        GaSampleParameters parameters;
        testCase.Change(parameters);
        EXPECT_THROW(GenerateGaText(parameters), Exception);
    }
}

TEST(GaSampleWriter, KeepsAHeaderTextOfTwoHundredFiftyFiveCharactersWhole) {
    GaSampleParameters parameters;
    parameters.HeaderText.assign(255, 'x');
    EXPECT_EQ(ParseGaText(GenerateGaText(parameters)).HeaderLines[4], parameters.HeaderText);
}

TEST(GaSampleWriter, StepsAreEquallySpacedAndCentredOnEachScansMidpoint) {
    GaSampleParameters parameters;
    parameters.ScanCount = 12;
    parameters.FirstMidPos = 1234;
    parameters.MidPosDrift = 57;
    parameters.StepWidth = 3;
    const ParsedGaText parsed = ParseGaText(GenerateGaText(parameters));
    for (int scan = 0; scan < parameters.ScanCount; ++scan) {
        SCOPED_TRACE("scan " + std::to_string(scan));
        const ParsedScan& steps = parsed.Scans[static_cast<std::size_t>(scan)];
        const long long midPos = 1234 + 57 * scan;
        EXPECT_EQ(Position(steps, 1) + Position(steps, GaSampleStepCount), 2 * midPos);
        EXPECT_EQ(ScanMidPos(parameters, scan), midPos);
        for (int step = 2; step <= GaSampleStepCount; ++step) {
            EXPECT_EQ(Position(steps, step) - Position(steps, step - 1), 3) << "step " << step;
            EXPECT_EQ(StepPosition(parameters, scan, step), Position(steps, step));
        }
    }
}

TEST(GaSampleWriter, SameSeedGivesTheSameTextAndAnotherSeedAnother) {
    GaSampleParameters parameters;
    parameters.Seed = 7;
    const std::string first = GenerateGaText(parameters);
    EXPECT_EQ(GenerateGaText(parameters), first);
    parameters.Seed = 8;
    EXPECT_NE(GenerateGaText(parameters), first);
}

TEST(GaSampleWriter, WithoutNoiseTheSeedChangesNothing) {
    GaSampleParameters parameters = WithoutNoise();
    parameters.Seed = 7;
    const std::string first = GenerateGaText(parameters);
    parameters.Seed = 8;
    EXPECT_EQ(GenerateGaText(parameters), first);
}

TEST(GaSampleWriter, NoiseFreeCountsCorrectBackToTheTrueRates) {
    GaSampleParameters parameters = WithoutNoise();
    parameters.ScanCount = 6;
    parameters.DarkLevel = 87.4;  // not whole, so both the dark and the raw count are rounded
    const ParsedGaText parsed = ParseGaText(GenerateGaText(parameters));
    for (int scan = 0; scan < parameters.ScanCount; ++scan) {
        const ParsedScan& block = parsed.Scans[static_cast<std::size_t>(scan)];
        EXPECT_EQ(block.Dark, 87);
        for (int step = 1; step <= GaSampleStepCount; ++step) {
            for (int slit = 0; slit < GaSampleSlitCount; ++slit) {
                const double trueRate = TrueCountRate(parameters, slit, scan,
                                                      static_cast<double>(Position(block, step)));
                // Rounding moves r - d by at most one raw count; the correction magnifies that by
                // dN/dN0 = exp(N x DeadTime) / (1 - N x DeadTime).
                const double load = trueRate * parameters.DeadTime;
                const double tolerance = std::exp(load) / (1 - load) / CountingTime(parameters);
                EXPECT_NEAR(CorrectedRate(parameters, block.Dark, RawCount(block, step, slit)),
                            trueRate, tolerance)
                    << "scan " << scan << ", step " << step << ", slit " << slit;
            }
        }
    }
}

TEST(GaSampleWriter, DefaultPeaksLoseAFewPercentToDeadTime) {
    const GaSampleParameters parameters = WithoutNoise();
    const ParsedScan scan = ParseGaText(GenerateGaText(parameters)).Scans.front();
    double largestLoss = 0;
    for (int slit = 0; slit < GaSampleSlitCount; ++slit) {
        const int step = MaximumStep(scan, slit);
        const double observedRate =
            static_cast<double>(RawCount(scan, step, slit) - scan.Dark) / CountingTime(parameters);
        largestLoss = std::max(
            largestLoss,
            1 - observedRate / CorrectedRate(parameters, scan.Dark, RawCount(scan, step, slit)));
    }
    EXPECT_GT(largestLoss, 0.01);
    EXPECT_LT(largestLoss, 0.05);
}

TEST(GaSampleWriter, NoisyCountsScatterAroundTheirMeansLikePoissonCounts) {
    GaSampleParameters parameters;
    parameters.ScanCount = 50;
    parameters.Seed = 11;
    const ParsedGaText parsed = ParseGaText(GenerateGaText(parameters));

    // Standard scores (count - mean) / sqrt(mean) of Poisson counts have mean 0 and variance 1.
    std::vector<double> rawScores;
    double darkSum = 0;
    for (int scan = 0; scan < parameters.ScanCount; ++scan) {
        const ParsedScan& block = parsed.Scans[static_cast<std::size_t>(scan)];
        darkSum += static_cast<double>(block.Dark);
        for (int step = 1; step <= GaSampleStepCount; ++step) {
            for (int slit = 0; slit < GaSampleSlitCount; ++slit) {
                const double trueRate = TrueCountRate(parameters, slit, scan,
                                                      static_cast<double>(Position(block, step)));
                const double mean =
                    parameters.DarkLevel +
                    trueRate * std::exp(-trueRate * parameters.DeadTime) * CountingTime(parameters);
                rawScores.push_back((static_cast<double>(RawCount(block, step, slit)) - mean) /
                                    std::sqrt(mean));
            }
        }
    }
    double scoreSum = 0;
    double squareSum = 0;
    for (const double score : rawScores) {
        scoreSum += score;
        squareSum += score * score;
    }
    const auto n = static_cast<double>(rawScores.size());
    EXPECT_NEAR(scoreSum / n, 0, 0.05);
    EXPECT_NEAR(squareSum / n, 1, 0.07);
    // The mean of 50 dark counts lies within 4 standard errors of the level.
    EXPECT_NEAR(darkSum / parameters.ScanCount, parameters.DarkLevel,
                4 * std::sqrt(parameters.DarkLevel / parameters.ScanCount));
}

TEST(GaSampleWriter, EachSlitPeaksAtTheStepNearestGsTimesMidPosPlusGi) {
    GaSampleParameters parameters = WithoutNoise();
    parameters.ScanCount = 50;
    parameters.GS = 0.9987;
    parameters.GI = 5.1;
    const ParsedGaText parsed = ParseGaText(GenerateGaText(parameters));
    for (int scan = 0; scan < parameters.ScanCount; ++scan) {
        const double midPos = parameters.FirstMidPos + scan * parameters.MidPosDrift;
        const double peakPos = 0.9987 * midPos + 5.1;
        EXPECT_DOUBLE_EQ(TruePeakPos(parameters, scan), peakPos);
        const ParsedScan& block = parsed.Scans[static_cast<std::size_t>(scan)];
        for (int slit = 0; slit < GaSampleSlitCount; ++slit) {
            const auto position = static_cast<double>(Position(block, MaximumStep(block, slit)));
            EXPECT_LE(std::abs(position - peakPos), parameters.StepWidth / 2.0)
                << "scan " << scan << ", slit " << slit;
        }
    }
}

TEST(GaSampleWriter, DefaultPeaksRiseWellAboveTheBackgroundAcrossTheSevenPointWindow) {
    const GaSampleParameters parameters = WithoutNoise(GaSampleParameters{.ScanCount = 50});
    const ParsedGaText parsed = ParseGaText(GenerateGaText(parameters));
    for (const ParsedScan& scan : parsed.Scans) {
        for (int slit = 0; slit < GaSampleSlitCount; ++slit) {
            const int peakStep = MaximumStep(scan, slit);
            ASSERT_GE(peakStep, 1 + 3);
            ASSERT_LE(peakStep, GaSampleStepCount - 3);
            const double height = parameters.PeakHeight[static_cast<std::size_t>(slit)];
            for (const int step : {peakStep - 3, peakStep + 3}) {
                const double rate =
                    CorrectedRate(parameters, scan.Dark, RawCount(scan, step, slit));
                EXPECT_GT(rate - parameters.BackgroundRate, 0.25 * height)
                    << "slit " << slit << ", step " << step;
            }
        }
    }
}

// A Gaussian's logarithm is a parabola, so three points around the maximum place its centre.
double GaussianCentre(const GaSampleParameters& parameters, const ParsedScan& scan, int slit) {
    const int peakStep = MaximumStep(scan, slit);
    const auto logPeak = [&](int step) {
        return std::log(CorrectedRate(parameters, scan.Dark, RawCount(scan, step, slit)) -
                        parameters.BackgroundRate);
    };
    const double below = logPeak(peakStep - 1);
    const double at = logPeak(peakStep);
    const double above = logPeak(peakStep + 1);
    return static_cast<double>(Position(scan, peakStep)) +
           parameters.StepWidth * 0.5 * (below - above) / (below - 2 * at + above);
}

TEST(GaSampleWriter, GsAndGiComeBackFromTheNoisyPeaks) {
    GaSampleParameters parameters;
    parameters.ScanCount = 50;
    parameters.Seed = 3;
    parameters.GS = 0.9987;
    parameters.GI = 5.1;
    const ParsedGaText parsed = ParseGaText(GenerateGaText(parameters));
    double sumX = 0;
    double sumY = 0;
    double sumXX = 0;
    double sumXY = 0;
    double n = 0;
    for (const ParsedScan& scan : parsed.Scans) {
        const double midPos =
            static_cast<double>(Position(scan, 1) + Position(scan, GaSampleStepCount)) / 2;
        for (int slit = 0; slit < GaSampleSlitCount; ++slit) {
            const double peakPos = GaussianCentre(parameters, scan, slit);
            sumX += midPos;
            sumY += peakPos;
            sumXX += midPos * midPos;
            sumXY += midPos * peakPos;
            n += 1;
        }
    }
    const double slope = (n * sumXY - sumX * sumY) / (n * sumXX - sumX * sumX);
    const double intercept = (sumY - slope * sumX) / n;
    EXPECT_NEAR(slope, 0.9987, 1e-5);
    EXPECT_NEAR(intercept, 5.1, 0.03);
}

// A locale that writes 1.234,5 for 1234.5.
class CommaDecimalMark : public std::numpunct<char> {
  protected:
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

// Offset of the first character where two texts differ, or npos; keeps failure messages short.
std::size_t FirstDifference(const std::string& first, const std::string& second) {
    if (first == second) {
        return std::string::npos;
    }
    const auto differing = std::mismatch(first.begin(), first.end(), second.begin(), second.end());
    return static_cast<std::size_t>(differing.first - first.begin());
}

// The first installed C library locale with a decimal comma, made current; null if none is.
const char* InstalledCommaLocale() {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
        if (std::setlocale(LC_ALL, name) != nullptr) {
            return name;
        }
    }
    return nullptr;
}

TEST(GaSampleWriter, TextDoesNotDependOnTheProcessLocale) {
    const GaSampleParameters parameters;  // header values and rates with fractions and thousands
    const std::string classicText = GenerateGaText(parameters);
    EXPECT_EQ(classicText.find(','), std::string::npos);

    const std::locale previous =
        std::locale::global(std::locale(std::locale::classic(), new CommaDecimalMark));
    const std::string commaStreamText = GenerateGaText(parameters);
    std::locale::global(previous);
    EXPECT_EQ(FirstDifference(commaStreamText, classicText), std::string::npos);

    if (const char* name = InstalledCommaLocale()) {
        SCOPED_TRACE(name);
        const std::string commaCText = GenerateGaText(parameters);
        std::setlocale(LC_ALL, "C");
        EXPECT_EQ(FirstDifference(commaCText, classicText), std::string::npos);
    }
}

}  // namespace
}  // namespace gatool
