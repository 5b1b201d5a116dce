// \brief Test date encoding; see test_date.h.
#include "data/test_date.h"

#include "base/exceptions.h"

namespace gatool {

std::chrono::year_month_day EncodeTestDate(std::int32_t day,
                                           std::int32_t month,
                                           std::int32_t twoDigitYear) {
    // 64-bit, so that any int32 year read from the file stays out of overflow.
    const std::int64_t year = (twoDigitYear < 60 ? 2000 : 1900) + std::int64_t{twoDigitYear};
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31) {
        throw EConvertError("Invalid argument to date encode");
    }
    const std::chrono::year_month_day date{std::chrono::year{static_cast<int>(year)},
                                           std::chrono::month{static_cast<unsigned>(month)},
                                           std::chrono::day{static_cast<unsigned>(day)}};
    if (!date.ok()) {
        throw EConvertError("Invalid argument to date encode");
    }
    return date;
}

}  // namespace gatool
