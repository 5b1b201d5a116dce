// \brief The header fields' texts from plain values.
#include "crash/report/header_field_texts.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace kestrix {
namespace {

TEST(HeaderFieldTexts, DateAndTimeWithPaddedFieldsAndPlainMilliseconds) {
    EXPECT_EQ(DateTimeText({2026, 3, 4, 5, 6, 7, 8}), "2026-03-04, 05:06:07, 8ms");
    EXPECT_EQ(DateTimeText({2026, 12, 31, 23, 59, 59, 999}), "2026-12-31, 23:59:59, 999ms");
    EXPECT_EQ(ModuleDateTimeText({2026, 3, 4, 5, 6, 7, 8}), "2026-03-04 05:06");
}

TEST(HeaderFieldTexts, LocalTimeOfATimePoint) {
    const char* zone = std::getenv("TZ");
    const std::string savedZone = zone != nullptr ? zone : "";
    setenv("TZ", "UTC", 1);
    tzset();
    // 2026-12-10 13:16:56.042 UTC
    const std::chrono::system_clock::time_point time{std::chrono::milliseconds(1796908616042)};
    const TReportTime local = LocalReportTime(time);
    if (zone != nullptr)
        setenv("TZ", savedZone.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
    EXPECT_EQ(DateTimeText(local), "2026-12-10, 13:16:56, 42ms");
}

TEST(HeaderFieldTexts, IdsAndChecksumsInHexadecimal) {
    EXPECT_EQ(ProcessIdText(0x1a2b), "$1a2b");
    EXPECT_EQ(ProcessIdText(7), "$7");
    EXPECT_EQ(CallstackCrcText(0x0badf00d, 0xffffffff, 0), "$0badf00d, $ffffffff, $00000000");
}

TEST(HeaderFieldTexts, DisplayProcessorsSystemAndUser) {
    EXPECT_EQ(DisplayModeText(1920, 1080, 24), "1920x1080, 24 bit");
    EXPECT_EQ(ProcessorsField(1, "AMD EPYC"),
              (std::pair<std::string, std::string>{"processor", "AMD EPYC"}));
    EXPECT_EQ(ProcessorsField(8, "AMD EPYC"),
              (std::pair<std::string, std::string>{"processors", "8x AMD EPYC"}));
    EXPECT_EQ(OperatingSystemText("Debian GNU/Linux 12 (bookworm)", "6.1.0-13-amd64"),
              "Debian GNU/Linux 12 (bookworm) build 6.1.0-13-amd64");
    EXPECT_EQ(UserNameText("root", true), "root  <admin>");
    EXPECT_EQ(UserNameText("operator", false), "operator");
}

TEST(HeaderFieldTexts, FreeDiskSpaceOfTheSystemAndOfTheProgramWhenElsewhere) {
    const TDiskSpace root{"/", 12ULL << 30};
    EXPECT_EQ(FreeDiskSpaceText(root, std::nullopt), "(/) 12.00 GB");
    EXPECT_EQ(FreeDiskSpaceText(root, TDiskSpace{"/", 1}), "(/) 12.00 GB");
    EXPECT_EQ(FreeDiskSpaceText(root, TDiskSpace{"/opt", 1536}, ','),
              "(/) 12,00 GB (/opt) 1,50 KB");
}

}  // namespace
}  // namespace kestrix
