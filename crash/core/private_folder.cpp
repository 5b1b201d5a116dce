// \brief Creating and checking the private folders.
#include "crash/core/private_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>

#include "crash/settings/module_info.h"

namespace kestrix {
namespace {

std::filesystem::path BaseFolder() {
    for (const char* variable : {"XDG_RUNTIME_DIR", "TMPDIR"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value == '/') {
            return value;
        }
    }
    return "/tmp";
}

// The program's name without extension, as the folders carry it.
std::string ProgramName() {
    return std::filesystem::path(ApplicationFileName()).stem().string();
}

}  // namespace

std::optional<std::filesystem::path> PrivateFolder(std::string_view name) {
    const std::filesystem::path folder = BaseFolder() / std::string(name);
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return std::nullopt;
    }
    // Opened without following a link, then checked on the descriptor, so that the folder checked
    // is the folder used.
    const int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0) {
        return std::nullopt;
    }
    struct stat status {};
    bool ok = fstat(descriptor, &status) == 0 && status.st_uid == geteuid();
    if (ok && (status.st_mode & 077) != 0) {
        ok = fchmod(descriptor, 0700) == 0;
    }
    close(descriptor);
    return ok ? std::optional(folder) : std::nullopt;
}

std::optional<std::filesystem::path> TemporaryFolder() {
    return PrivateFolder("kestrix-" + ProgramName() + "-temp");
}

void ClearTemporaryFolder() noexcept {
    try {
        const auto folder = TemporaryFolder();
        if (!folder) {
            return;
        }
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(*folder, error)) {
            std::filesystem::remove_all(entry.path(), error);
        }
    } catch (...) {
        // Left-overs of an earlier failure only take room.
    }
}

std::optional<std::filesystem::path> ReportFolder() {
    return PrivateFolder("kestrix-" + ProgramName());
}

}  // namespace kestrix
