// \brief The minimal bug report that every failure gets until the full report is built: the time,
// the program, the failure's source, class and message, the crashed thread and its call stack. It
// is saved in the private report folder, appended to "bugreport.txt" and opened without following
// a symbolic link planted in its place.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "crash/core/ikx_exception.h"

namespace kestrix {

inline constexpr const char* MinimalReportFileName = "bugreport.txt";

// The call stack of the crashed thread: the raise-time stack when there is one, otherwise the
// stack from the failure's stack pointer up.
std::string CrashedThreadCallStack(const IKXException& exception);

std::string BuildMinimalReport(const IKXException& exception);

// Appends the failure's report (building it when it has none) unless it was saved before, and
// returns the file; none when it cannot be written.
std::optional<std::filesystem::path> SaveMinimalReport(IKXException& exception);

}  // namespace kestrix
