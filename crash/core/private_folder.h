// \brief The reporter's private folders: under $XDG_RUNTIME_DIR, else $TMPDIR, else /tmp, a folder
// of mode 0700 owned by the user and not a symbolic link, so that nothing the reporter writes
// lands where another user could read or replace it.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace kestrix {

// The folder of that name, created when missing; none when it cannot be made private (it exists
// as a link, belongs to someone else, or is open to others and cannot be closed).
std::optional<std::filesystem::path> PrivateFolder(std::string_view name);

// "kestrix-<program>-temp": the temporary folder, emptied at start-up and before each failure.
std::optional<std::filesystem::path> TemporaryFolder();
void ClearTemporaryFolder() noexcept;

// "kestrix-<program>": where the saved reports go; it is never emptied.
std::optional<std::filesystem::path> ReportFolder();

}  // namespace kestrix
