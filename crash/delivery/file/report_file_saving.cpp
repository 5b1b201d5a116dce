// \brief Saving into the report file or its fallback.
#include "crash/delivery/file/report_file_saving.h"

#include <cerrno>

#include "crash/delivery/file/report_file_writer.h"

namespace kestrix {
namespace {

bool IsNotWritable(int error) {
    return error == EACCES || error == EPERM || error == EROFS;
}

}  // namespace

ReportFileRules ReportFileRulesOf(const IKXSettings& settings) {
    return {settings.AppendBugReps(), settings.NoDupExcepts(), settings.DupExceptDef(),
            settings.NoDupFreezes(),  settings.DupFreezeDef(), settings.BugRepFileSize()};
}

std::optional<std::filesystem::path> SaveReportFile(std::string_view report,
                                                    const ReportFileLocation& location,
                                                    const ReportFileRules& rules) {
    const int error = WriteReportFile(location.File, report, rules);
    if (error == 0) {
        return location.File;
    }
    if (IsNotWritable(error) && location.Fallback &&
        WriteReportFile(*location.Fallback, report, rules) == 0) {
        return location.Fallback;
    }
    return std::nullopt;
}

std::optional<std::filesystem::path> SaveReportFile(std::string_view report,
                                                    const IKXSettings& settings) {
    return SaveReportFile(report, ReportFileLocationOf(settings), ReportFileRulesOf(settings));
}

}  // namespace kestrix
