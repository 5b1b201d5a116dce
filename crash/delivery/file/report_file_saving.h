// \brief Saving a report text into the report file by the settings' rules, falling back to the
// state folder when the folder beside the executable cannot be written.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "crash/delivery/file/report_file_location.h"
#include "crash/delivery/file/report_file_merge.h"
#include "crash/settings/ikx_settings.h"

namespace kestrix {

ReportFileRules ReportFileRulesOf(const IKXSettings& settings);

// The file the report was written to; none when neither place could be written.
std::optional<std::filesystem::path> SaveReportFile(std::string_view report,
                                                    const ReportFileLocation& location,
                                                    const ReportFileRules& rules);

// The report saved where the settings' `BugRepFile` says.
std::optional<std::filesystem::path> SaveReportFile(std::string_view report,
                                                    const IKXSettings& settings);

}  // namespace kestrix
