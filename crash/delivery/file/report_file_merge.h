// \brief The rules for adding a report to a report file that already holds reports: a duplicate
// of an earlier report replaces it and counts it, and the oldest reports give way to the size
// limit.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrix {

// Which of the three call-stack checksums must be equal (`TKXDupDef`).
enum TKXDupDef : std::int32_t {
    ddExceptAddrIdentical = 0,
    ddCrashStackIdentical = 1,
    ddAllStacksIdentical = 2,
};

struct ReportFileRules {
    bool AppendBugReps = true;
    bool NoDupExcepts = true;
    TKXDupDef DupExceptDef = ddCrashStackIdentical;
    bool NoDupFreezes = true;
    TKXDupDef DupFreezeDef = ddAllStacksIdentical;
    // Bytes; 0: no limit.
    std::int64_t BugRepFileSize = 100000;
};

// What the file holds once the report is saved into it: the report followed by two line breaks,
// after what stays of the old content when appending.
std::string MergeReportIntoFile(std::string_view file,
                                std::string_view report,
                                const ReportFileRules& rules);

}  // namespace kestrix
