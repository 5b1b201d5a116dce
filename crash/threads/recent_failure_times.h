// \brief The times of the ten most recent failures, newest first, in seconds since 1 January 1601
// of the local time; 0 marks an empty place. A restart hands them to the new process.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kestrix {

inline constexpr std::size_t RecentFailureCount = 10;
using FailureTimes = std::array<std::uint64_t, RecentFailureCount>;

// The current local time in seconds since 1 January 1601.
std::uint64_t LocalSecondsSince1601();

// Shifts the ring by one and stores the time in front (an etNormal or etFrozen failure).
void RecordFailureTime(std::uint64_t time);
void RecordFailureTime();

FailureTimes RecentFailureTimes();
void SetRecentFailureTimes(const FailureTimes& times);

}  // namespace kestrix
