// \brief The rules for adding a report to a report file that already holds reports: a duplicate
// of an earlier report replaces it and counts it, and the oldest reports give way to the size
// limit.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrix {

struct ReportFileRules {
    bool AppendBugReps = true;
    // The duplicate rules (`TKXDupDef`): how many of the three call-stack checksums must be
    // equal, less one (0: the first, 1: the first two, 2: all three).
    bool NoDupExcepts = true;
    std::int32_t DupExceptDef = 1;
    bool NoDupFreezes = true;
    std::int32_t DupFreezeDef = 2;
    // Bytes; 0: no limit.
    std::int64_t BugRepFileSize = 100000;
};

// What the file holds once the report is saved into it: the report followed by two line breaks,
// after what stays of the old content when appending.
std::string MergeReportIntoFile(std::string_view file,
                                std::string_view report,
                                const ReportFileRules& rules);

}  // namespace kestrix
