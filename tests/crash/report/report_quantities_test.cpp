// \brief Durations, sizes and memory amounts of the report header, case by case.
#include "crash/report/report_quantities.h"

#include <gtest/gtest.h>

namespace kestrix {
namespace {

struct Case {
    std::uint64_t value;
    const char* expected;
};

TEST(DurationText, NamesTheTwoLargestUnitsAndLeavesZeroPartsOut) {
    for (const Case& c : {
             Case{0, ""},
             Case{1, "1 second "},
             Case{59, "59 seconds "},
             Case{60, "1 minute "},
             Case{61, "1 minute 1 second "},
             Case{3599, "59 minutes 59 seconds "},
             Case{3600, "1 hour "},
             Case{3600 + 59, "1 hour "},  // the seconds are not named with hours
             Case{2 * 3600 + 5 * 60 + 7, "2 hours 5 minutes "},
             Case{86400, "1 day "},
             Case{86400 + 3600 + 60, "1 day 1 hour "},
             Case{3 * 86400 + 23 * 3600 + 59 * 60, "3 days 23 hours "},
             Case{400 * 86400 + 2 * 3600, "400 days 2 hours "},
         }) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(DurationText(c.value), c.expected);
    }
}

TEST(ProgramUpTimeText, ShowsMillisecondsUnderOneSecond) {
    for (const Case& c : {Case{0, "0 milliseconds"}, Case{999, "999 milliseconds"},
                          Case{1000, "1 second "}, Case{61'500, "1 minute 1 second "}}) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(ProgramUpTimeText(c.value), c.expected);
    }
}

TEST(SizeText, TruncatesToTwoDecimalsOfTheLargestUnitReached) {
    for (const Case& c : {
             Case{0, "0 Bytes"},
             Case{1023, "1023 Bytes"},
             Case{1024, "1.00 KB"},
             Case{1535, "1.49 KB"},  // 1.499..., truncated
             Case{1024 * 1024 - 1, "1023.99 KB"},
             Case{1024 * 1024, "1.00 MB"},
             Case{5 * 1024 * 1024 + 104858, "5.10 MB"},
             Case{(1ULL << 30) - 1, "1023.99 MB"},
             Case{(1ULL << 30) * 3 / 2, "1.50 GB"},
             Case{~0ULL, "17179869183.99 GB"},
         }) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(SizeText(c.value), c.expected);
    }
    EXPECT_EQ(SizeText(1536, ','), "1,50 KB");
}

TEST(PhysicalMemoryText, RoundsToWholeMegabytes) {
    EXPECT_EQ(PhysicalMemoryText(1024 * 1024 * 3 / 2, 8ULL << 30), "2/8192 MB (free/total)");
    EXPECT_EQ(PhysicalMemoryText(1024 * 1024 / 2 - 1, 1024 * 1024 + 1), "0/1 MB (free/total)");
}

}  // namespace
}  // namespace kestrix
