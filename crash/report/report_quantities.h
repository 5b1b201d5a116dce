// \brief Durations, sizes and memory amounts as the report header writes them.
#pragma once

#include <cstdint>
#include <string>

namespace kestrix {

// The two largest units of days, hours, minutes and seconds that the duration reaches (days and
// hours, hours and minutes, or minutes and seconds), each non-zero one as "1 hour " or
// "5 hours "; a zero part is left out.
std::string DurationText(std::uint64_t totalSeconds);

// Under one second the milliseconds and " milliseconds", otherwise the duration.
std::string ProgramUpTimeText(std::uint64_t milliseconds);

// Below 1024 bytes the number and " Bytes"; otherwise KB, MB or GB with exactly two decimals,
// truncated, after the decimal separator.
std::string SizeText(std::uint64_t bytes, char decimalSeparator = '.');

// "free/total MB (free/total)", both rounded to whole MB.
std::string PhysicalMemoryText(std::uint64_t freeBytes, std::uint64_t totalBytes);

}  // namespace kestrix
