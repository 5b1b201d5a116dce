// \brief The report header: every field in its order, each computed under its own guard, so that
// a field whose value cannot be obtained is left out and the others still come. The failure's own
// values come in as plain values; the facts of the system are read here.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "crash/settings/ikx_fields.h"

namespace kestrix {

inline constexpr const char* KestrixVersion = "3.0b";
inline constexpr const char* CallstackCrcField = "callstack crc";

struct THeaderValues {
    std::chrono::system_clock::time_point Time = std::chrono::system_clock::now();
    std::uint64_t ProgramUpTimeMilliseconds = 0;
    // The primary screen's mode, read on the GUI thread; none without a screen.
    std::optional<std::string> DisplayMode;
    bool AddCommandLine = true;  // the exported switch AddCmdLineToBugRep
    std::string Version;         // the setting VersionVar
    // The reporter's module when it is not the executable.
    std::optional<std::string> CurrentModulePath;
    // The texts of the plug-ins without a section of their own: name and text.
    std::vector<std::pair<std::string, std::string>> PluginFields;
    std::uint32_t ExceptionNumber = 1;
    bool Frozen = false;
    std::string FrozenMessage;   // the setting FrozenMsg
    std::string ExceptionClass;  // empty: no exception object
    // The message text (or the class name for an object without one), not yet cleaned.
    std::string ExceptionMessage;
    char DecimalSeparator = '.';
};

// Fills an empty header and sets its add position at "callstack crc", which reads
// "will be calculated soon" until the report is complete.
void FillReportHeader(IKXFields& header, const THeaderValues& values);

}  // namespace kestrix
