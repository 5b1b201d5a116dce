// Tests of the test date: the two-digit year rule and impossible dates.
#include "data/test_date.h"

#include <gtest/gtest.h>

#include "base/exceptions.h"

namespace gatool {
namespace {

using namespace std::chrono;

TEST(EncodeTestDate, AppliesTheTwoDigitYearRule) {
    EXPECT_EQ(EncodeTestDate(5, 7, 59), year{2059} / July / 5);
    EXPECT_EQ(EncodeTestDate(5, 7, 60), year{1960} / July / 5);
    EXPECT_EQ(EncodeTestDate(1, 1, 0), year{2000} / January / 1);
    EXPECT_EQ(EncodeTestDate(29, 2, 0), year{2000} / February / 29);
    EXPECT_EQ(EncodeTestDate(31, 12, 99), year{1999} / December / 31);
    EXPECT_EQ(EncodeTestDate(1, 1, 2026), year{3926} / January / 1);  // four digits are not special
}

TEST(EncodeTestDate, RefusesImpossibleDates) {
    const std::int32_t cases[][3] = {
        {31, 2, 7}, {29, 2, 61}, {0, 1, 1},    {32, 1, 1},    {1, 0, 1},
        {1, 13, 1}, {31, 4, 1},  {1, 1, 8100}, {1, 1, -2000}, {1, 1, 2147483647},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c[0]) + "." + std::to_string(c[1]) + "." +
                     std::to_string(c[2]));
        try {
            EncodeTestDate(c[0], c[1], c[2]);
            ADD_FAILURE() << "no error";
        } catch (const EConvertError& error) {
            EXPECT_STREQ(error.what(), "Invalid argument to date encode");
        }
    }
}

}  // namespace
}  // namespace gatool
