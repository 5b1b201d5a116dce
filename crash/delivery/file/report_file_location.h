// \brief Where the report file goes: a name that is not absolute lies beside the executable, or,
// when that folder cannot be written, in the program's folder under $XDG_STATE_HOME (default
// ~/.local/state), so that a read-only install folder never costs a report.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "crash/settings/ikx_settings.h"

namespace kestrix {

struct ReportFileLocation {
    std::filesystem::path File;
    // Used when File cannot be written for want of permission or a writable file system.
    std::optional<std::filesystem::path> Fallback;
};

std::filesystem::path ExecutableFolder();

// $XDG_STATE_HOME/<program>, else ~/.local/state/<program> (the program without extension).
std::filesystem::path StateFolder();

// The name as it is when absolute, otherwise inside each of the two folders.
ReportFileLocation ReportFileLocationFor(std::string_view name,
                                         const std::filesystem::path& programFolder,
                                         const std::filesystem::path& stateFolder);

// `BugRepFile` of the settings, beside the executable or in the state folder.
ReportFileLocation ReportFileLocationOf(const IKXSettings& settings);

}  // namespace kestrix
