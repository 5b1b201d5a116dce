// \brief The report file's folders.
#include "crash/delivery/file/report_file_location.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <system_error>

#include "crash/settings/module_info.h"

namespace kestrix {
namespace {

std::filesystem::path HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/') {
        return home;
    }
    if (const passwd* user = getpwuid(getuid()); user != nullptr && user->pw_dir != nullptr) {
        return user->pw_dir;
    }
    return "/";
}

}  // namespace

std::filesystem::path ExecutableFolder() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::current_path(error) : executable.parent_path();
}

std::filesystem::path StateFolder() {
    const std::string program = std::filesystem::path(ApplicationFileName()).stem().string();
    if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && *state == '/') {
        return std::filesystem::path(state) / program;
    }
    return HomeFolder() / ".local" / "state" / program;
}

ReportFileLocation ReportFileLocationFor(std::string_view name,
                                         const std::filesystem::path& programFolder,
                                         const std::filesystem::path& stateFolder) {
    const std::filesystem::path file(name);
    if (file.is_absolute()) {
        return {file, std::nullopt};
    }
    return {programFolder / file, stateFolder / file};
}

ReportFileLocation ReportFileLocationOf(const IKXSettings& settings) {
    return ReportFileLocationFor(settings.ReportFileName(), ExecutableFolder(), StateFolder());
}

}  // namespace kestrix
