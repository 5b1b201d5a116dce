// \brief The date of a GA test from the day, month and two-digit year of the file's "dh" line.
#pragma once

#include <chrono>
#include <cstdint>

namespace gatool {

// A two-digit year below 60 stands for 20yy, any other value for 19yy (59 is 2059, 60 is 1960).
// Raises EConvertError "Invalid argument to date encode" for a day, month or year (1..9999) that
// makes no calendar date.
std::chrono::year_month_day EncodeTestDate(std::int32_t day,
                                           std::int32_t month,
                                           std::int32_t twoDigitYear);

}  // namespace gatool
