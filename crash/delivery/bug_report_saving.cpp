// \brief The failure's saves.
#include "crash/delivery/bug_report_saving.h"

#include <unistd.h>

#include <system_error>

#include "crash/delivery/file/report_file_saving.h"
#include "crash/delivery/file/report_file_writer.h"

namespace kestrix {
namespace {

bool SamePath(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    return std::filesystem::weakly_canonical(a, error) ==
           std::filesystem::weakly_canonical(b, error);
}

bool AlreadySavedIn(const IKXException& failure, const std::filesystem::path& file) {
    const std::string saved = failure.SavedReportFile();
    return !saved.empty() && SamePath(saved, file);
}

// Where the dialog starts: beside the executable, else the state folder (created).
std::filesystem::path DialogFolder() {
    const std::filesystem::path program = ExecutableFolder();
    if (access(program.c_str(), W_OK) == 0) {
        return program;
    }
    std::error_code error;
    std::filesystem::create_directories(StateFolder(), error);
    return StateFolder();
}

}  // namespace

bool SaveBugReportTo(IKXException& failure, const std::filesystem::path& file) {
    if (AlreadySavedIn(failure, file)) {
        return true;
    }
    if (WriteReportFile(file, failure.BugReport(), ReportFileRulesOf(failure)) != 0) {
        return false;
    }
    failure.SetSavedReportFile(file.string());
    return true;
}

bool SaveBugReport(IKXException& failure, IDeliveryWindows& windows) {
    const std::filesystem::path name = failure.ReportFileName();
    if (name.is_absolute()) {
        return SaveBugReportTo(failure, name);
    }
    const auto chosen = windows.ChooseSaveFile(DialogFolder(), name.string(), failure.SaveBtnTxt());
    return chosen && SaveBugReportTo(failure, *chosen);
}

bool AutoSaveBugReport(IKXException& failure) {
    if (!failure.SavedReportFile().empty()) {
        return true;
    }
    const auto file = SaveReportFile(failure.BugReport(), failure);
    if (file) {
        failure.SetSavedReportFile(file->string());
    }
    return file.has_value();
}

std::filesystem::path SavedReportFileOf(const IKXException& failure) {
    if (const std::string saved = failure.SavedReportFile(); !saved.empty()) {
        return saved;
    }
    const ReportFileLocation location = ReportFileLocationOf(failure);
    std::error_code error;
    if (location.Fallback && !std::filesystem::exists(location.File, error) &&
        std::filesystem::exists(*location.Fallback, error)) {
        return *location.Fallback;
    }
    return location.File;
}

}  // namespace kestrix
