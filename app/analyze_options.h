// \brief The options of `gatool analyze`.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/peak_location.h"
#include "app/usage_error.h"
#include "data/ga_test.h"

namespace gatool {

struct AnalyzeOptions {
    std::vector<std::string> GaFiles;
    std::optional<std::string> DcfFile;
    FitWindow Window = FitWindow::SevenPoint;
    std::array<bool, SlitCount> Slits{false, true, false, false, false, false};
    bool UseCentreMass = false;
    bool Manual = false;
    std::string GsText = "1";  // the boxes' texts; typed ones with --manual
    std::string GiText = "0";
    bool Json = false;
    bool Csv = false;
    bool Help = false;
};

AnalyzeOptions ParseAnalyzeOptions(std::span<const std::string_view> arguments);

extern const char* const AnalyzeUsage;

}  // namespace gatool
