// \brief Expansion of the variables in string settings: "%appname%", "%modname%", "%LF%",
// "%date%", "%time%" and "%datetime%", in any letter case. "%exceptMsg%", "%bugReport%" and any
// other text between percent signs stay as they are; the places that use the text replace those.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace kestrix {

struct ExpansionContext {
    std::string AppName;  // the executable's file name, without folder
    std::string ModName;  // the module's file name, without folder
    std::chrono::system_clock::time_point Now;
};

std::string ExpandSettingText(std::string_view text, const ExpansionContext& context);

// The report file's variant: "%appname%" and "%modname%" stand for the names without extension.
std::string ExpandReportFileName(std::string_view text, const ExpansionContext& context);

// Local date "2026-12-10" and time "09:05:03, 42ms".
std::string FormatSettingDate(std::chrono::system_clock::time_point when);
std::string FormatSettingTime(std::chrono::system_clock::time_point when);

}  // namespace kestrix
