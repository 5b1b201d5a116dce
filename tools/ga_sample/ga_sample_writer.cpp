// \brief GA file text from generator parameters; see ga_sample_writer.h.
#include "tools/ga_sample/ga_sample_writer.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <random>
#include <string_view>

#include "base/exceptions.h"
#include "tools/ga_sample/c_notation.h"
#include "tools/ga_sample/ga_sample_truth.h"

namespace gatool {

namespace {

constexpr std::string_view LineEnd = "\r\n";
constexpr std::size_t MaxHeaderTextLength = 255;  // what the reader's line buffer holds
constexpr std::size_t PositionColumnWidth = 6;
constexpr std::size_t CountColumnWidth = 8;
constexpr int FirstTwoDigitYear = 1960;  // the file's two-digit years stand for 1960 to 2059

void Require(bool condition, const char* message) {
    if (!condition) {
        throw Exception(message);
    }
}

bool IsWritableHeaderText(const std::string& text) {
    return !text.empty() && text.size() <= MaxHeaderTextLength &&
           text.find_first_of("\r\n") == std::string::npos && text.front() != ' ' &&
           text.front() != '\t';
}

void CheckParameters(const GaSampleParameters& parameters) {
    Require(parameters.ScanCount >= 0, "the scan count must not be negative");
    Require(parameters.StepWidth > 0, "the step width must be positive");
    Require(parameters.IntegrationTime > 0 && parameters.Cy > 0,
            "the integration time and cy must be positive");
    Require(parameters.DeadTime >= 0, "the dead time must not be negative");
    Require(std::isfinite(parameters.GS) && std::isfinite(parameters.GI),
            "GS and GI must be finite numbers");
    Require(parameters.DarkLevel >= 0 && parameters.BackgroundRate >= 0,
            "the dark level and the background rate must not be negative");
    for (std::size_t slit = 0; slit < GaSampleSlitCount; ++slit) {
        Require(parameters.PeakHeight[slit] >= 0 && parameters.PeakWidth[slit] > 0,
                "every peak needs a height of 0 or more and a positive width");
    }
    // The correction N = N0 x exp(N x DeadTime) finds the true rate only below 1 / DeadTime.
    const double highestRate =
        parameters.BackgroundRate +
        *std::max_element(parameters.PeakHeight.begin(), parameters.PeakHeight.end());
    Require(highestRate * parameters.DeadTime < 1,
            "the highest count rate is beyond what the dead-time correction recovers");
    Require(IsWritableHeaderText(parameters.HeaderText),
            "the header text must be one line of 1 to 255 characters that does not start with "
            "white space");
    const int year = static_cast<int>(parameters.TestDate.year());
    Require(parameters.TestDate.ok() && year >= FirstTwoDigitYear && year < FirstTwoDigitYear + 100,
            "the test date must be a valid date from 1960 to 2059");
}

// Right-aligned in a column of the given width, so that the step lines read as a table; at least
// one blank always separates two numbers.
void AppendColumn(std::string& text, long long value, std::size_t width) {
    const std::string digits = CNotation(value);
    text.append(width > digits.size() ? width - digits.size() : 1, ' ');
    text += digits;
}

void AppendHeader(std::string& text, const GaSampleParameters& parameters) {
    text += "Integration time is ";
    text += CNotation(parameters.IntegrationTime);
    text += " seconds per sample";
    text += LineEnd;

    text += "dt ";
    text += CNotation(parameters.DeadTime);
    text += LineEnd;

    text += "cy ";
    text += CNotation(parameters.Cy);
    text += LineEnd;

    const std::chrono::year_month_day& date = parameters.TestDate;
    const int twoDigitYear = static_cast<int>(date.year()) % 100;
    text += "dh ";
    text += CNotation(static_cast<unsigned>(date.day()));
    text += ' ';
    text += CNotation(static_cast<unsigned>(date.month()));
    text += twoDigitYear < 10 ? " 0" : " ";
    text += CNotation(twoDigitYear);
    text += LineEnd;

    text += parameters.HeaderText;
    text += LineEnd;

    for (std::size_t i = 0; i < parameters.HeaderValues.size(); ++i) {
        if (i > 0) {
            text += ' ';
        }
        text += CNotation(parameters.HeaderValues[i]);
    }
    text += LineEnd;

    text += "pr ";
    text += CNotation(parameters.Pr);
    text += LineEnd;
}

long long DrawCount(double mean, bool addNoise, std::mt19937_64& engine) {
    if (!addNoise || mean <= 0) {
        return std::llround(mean);
    }
    return std::poisson_distribution<long long>(mean)(engine);
}

void AppendScan(std::string& text,
                const GaSampleParameters& parameters,
                int scan,
                std::mt19937_64& engine) {
    // The block's dark count is a measurement of its own; the raw counts carry their own dark
    // current around the same level.
    text += "DARK ";
    text += CNotation(DrawCount(parameters.DarkLevel, parameters.AddNoise, engine));
    text += LineEnd;

    const double countingTime = parameters.Cy * parameters.IntegrationTime * 0.5;
    for (int step = 1; step <= GaSampleStepCount; ++step) {
        const int position = StepPosition(parameters, scan, step);
        AppendColumn(text, position, PositionColumnWidth);
        for (int slit = 0; slit < GaSampleSlitCount; ++slit) {
            const double trueRate = TrueCountRate(parameters, slit, scan, position);
            // A counter that is dead for DeadTime after each count registers N x exp(-N x
            // DeadTime) of N counts per second.
            const double observedRate = trueRate * std::exp(-trueRate * parameters.DeadTime);
            const double meanRawCount = parameters.DarkLevel + observedRate * countingTime;
            AppendColumn(text, DrawCount(meanRawCount, parameters.AddNoise, engine),
                         CountColumnWidth);
        }
        text += LineEnd;
    }
}

}  // namespace

std::string GenerateGaText(const GaSampleParameters& parameters) {
    CheckParameters(parameters);
    std::mt19937_64 engine(parameters.Seed);
    std::string text;
    AppendHeader(text, parameters);
    for (int scan = 0; scan < parameters.ScanCount; ++scan) {
        AppendScan(text, parameters, scan, engine);
    }
    return text;
}

}  // namespace gatool
