// \brief Writing a report into its file under an exclusive lock, so that two processes saving at
// once both keep their reports. Missing folders are created (private to the user); the file is
// opened without following a symbolic link and must be a regular file.
#pragma once

#include <filesystem>
#include <string_view>

#include "crash/delivery/file/report_file_merge.h"

namespace kestrix {

// 0 when the report is in the file, otherwise the error number of the step that failed; the file
// keeps its old content then.
int WriteReportFile(const std::filesystem::path& file,
                    std::string_view report,
                    const ReportFileRules& rules);

}  // namespace kestrix
