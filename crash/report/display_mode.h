// \brief The primary screen's mode for the report header. Screens belong to the GUI thread: the
// program's windows set it there at start-up and whenever the screen changes, and the report reads
// the text last set.
#pragma once

#include <optional>
#include <string>

namespace kestrix {

void SetReportDisplayMode(int width, int height, int depth);
// None until a mode was set (a program without a screen).
std::optional<std::string> ReportDisplayMode();

}  // namespace kestrix
