// \brief Command line of ga_sample_generator; see ga_sample_options.h.
#include "tools/ga_sample/ga_sample_options.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <system_error>

#include "tools/ga_sample/c_notation.h"

namespace gatool {

namespace {

constexpr std::array<std::string_view, 5> ValueOptions{"--scans", "--seed", "--gs", "--gi",
                                                       "--output"};

// The whole text must be the number; std::from_chars ignores the locale.
template <typename Number>
bool ReadNumber(std::string_view text, Number& value) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc{} && result.ptr == end;
}

[[noreturn]] void ThrowBadValue(std::string_view option,
                                std::string_view expected,
                                std::string_view value) {
    throw OptionError(std::string(option) + " needs " + std::string(expected) + ", not '" +
                      std::string(value) + "'");
}

int ReadScanCount(std::string_view value) {
    int scanCount = 0;
    if (!ReadNumber(value, scanCount) || scanCount < 0) {
        ThrowBadValue("--scans", "a whole number of 0 or more", value);
    }
    return scanCount;
}

std::uint64_t ReadSeed(std::string_view value) {
    std::uint64_t seed = 0;
    if (!ReadNumber(value, seed)) {
        ThrowBadValue("--seed", "a whole number from 0 to 18446744073709551615", value);
    }
    return seed;
}

double ReadFiniteNumber(std::string_view option, std::string_view value) {
    double number = 0;
    if (!ReadNumber(value, number) || !std::isfinite(number)) {
        ThrowBadValue(option, "a number in C notation such as -4.2", value);
    }
    return number;
}

void ApplyOption(GeneratorOptions& options, std::string_view option, std::string_view value) {
    GaSampleParameters& parameters = options.Parameters;
    if (option == "--scans") {
        parameters.ScanCount = ReadScanCount(value);
    } else if (option == "--seed") {
        parameters.Seed = ReadSeed(value);
    } else if (option == "--gs") {
        parameters.GS = ReadFiniteNumber(option, value);
    } else if (option == "--gi") {
        parameters.GI = ReadFiniteNumber(option, value);
    } else {
        if (value.empty()) {
            ThrowBadValue(option, "a file name", value);
        }
        options.OutputPath = value;
    }
}

}  // namespace

GeneratorOptions ParseGeneratorOptions(const std::vector<std::string_view>& arguments) {
    GeneratorOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view option = arguments[i];
        if (option == "--help") {
            options.ShowHelp = true;
            continue;
        }
        if (std::find(ValueOptions.begin(), ValueOptions.end(), option) == ValueOptions.end()) {
            const char* kind = option.starts_with('-') ? "unknown option" : "unexpected argument";
            throw OptionError(std::string(kind) + " '" + std::string(option) + "'");
        }
        if (i + 1 == arguments.size()) {
            throw OptionError(std::string(option) + " needs a value");
        }
        ++i;
        ApplyOption(options, option, arguments[i]);
    }
    return options;
}

std::string GeneratorUsage() {
    const GaSampleParameters defaults;
    return "Usage: ga_sample_generator [--scans N] [--seed S] [--gs X] [--gi Y] [--output FILE]\n"
           "Writes a GA file with Poisson noise whose peaks lie at GS x MidPos + GI in every "
           "scan.\n"
           "  --scans N      number of scans, 0 or more (default " +
           CNotation(defaults.ScanCount) +
           ")\n"
           "  --seed S       seed of the noise, 0 to 18446744073709551615 (default " +
           CNotation(defaults.Seed) +
           ")\n"
           "  --gs X         GS, slope of the peak positions over the scan midpoints (default " +
           CNotation(defaults.GS) +
           ")\n"
           "  --gi Y         GI, offset of the peak positions in step numbers (default " +
           CNotation(defaults.GI) +
           ")\n"
           "  --output FILE  file to write (default: standard output)\n"
           "  --help         show this text\n";
}

}  // namespace gatool
