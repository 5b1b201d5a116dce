// \brief What opening the window needs, checked before the application object exists: files that
// can be read, and a display.
#pragma once

#include <filesystem>
#include <functional>

namespace gatool {

// Raises gatool::Exception naming the file and the reason when it cannot be opened and read.
void RequireReadable(const std::filesystem::path& file);

// Reads one environment variable: its value, or null when it is not set.
using EnvironmentReader = std::function<const char*(const char* name)>;

// Whether the window can be shown: a platform chosen in QT_QPA_PLATFORM (a list separated by ";",
// each name optionally followed by ":" and its options) that needs no display, or whose display
// variable is set; with none chosen, DISPLAY or WAYLAND_DISPLAY set. Empty values count as unset.
bool DisplayAvailable(const EnvironmentReader& environment);

// The one line that says the window cannot be opened for want of a display.
extern const char* const NoDisplayMessage;

}  // namespace gatool
