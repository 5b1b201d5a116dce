// \brief Variables in string settings, in any letter case, and the report file's variant.
#include "crash/settings/setting_expansion.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace kestrix {
namespace {

// 2026-03-04 05:06:07.089 local time.
std::chrono::system_clock::time_point FixedLocalTime() {
    std::tm local{};
    local.tm_year = 126;
    local.tm_mon = 2;
    local.tm_mday = 4;
    local.tm_hour = 5;
    local.tm_min = 6;
    local.tm_sec = 7;
    local.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&local)) +
           std::chrono::milliseconds(89);
}

ExpansionContext Context() {
    return {"gatool.bin", "libkestrix.so.1", FixedLocalTime()};
}

TEST(SettingExpansion, ReplacesEveryVariableInAnyLetterCase) {
    const struct {
        const char* Text;
        const char* Expanded;
    } cases[] = {
        {"%appname%", "gatool.bin"},
        {"%APPNAME% / %AppName%", "gatool.bin / gatool.bin"},
        {"in %modname%", "in libkestrix.so.1"},
        {"a%LF%b%lf%", "a\r\nb\r\n"},
        {"%date%", "2026-03-04"},
        {"%TIME%", "05:06:07, 89ms"},
        {"%DateTime%", "2026-03-04, 05:06:07, 89ms"},
        {"%exceptMsg% and %bugReport%", "%exceptMsg% and %bugReport%"},
        {"100% sure, %unknown%", "100% sure, %unknown%"},
        {"50%%appname%%", "50%gatool.bin%"},
        {"%appname", "%appname"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(ExpandSettingText(c.Text, Context()), c.Expanded);
    }
}

TEST(SettingExpansion, ReportFileNameDropsTheExtensions) {
    EXPECT_EQ(ExpandReportFileName("%appname%-%MODNAME%.txt", Context()),
              "gatool-libkestrix.so.txt");
    EXPECT_EQ(ExpandSettingText("%appname%-%MODNAME%.txt", Context()),
              "gatool.bin-libkestrix.so.1.txt");
}

}  // namespace
}  // namespace kestrix
