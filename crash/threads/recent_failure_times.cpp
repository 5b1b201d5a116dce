// \brief The process's ring of recent-failure times, guarded by a mutex.
#include "crash/threads/recent_failure_times.h"

#include <ctime>
#include <mutex>

namespace kestrix {
namespace {

// Seconds from 1 January 1601 to 1 January 1970.
constexpr std::uint64_t SecondsFrom1601To1970 = 11'644'473'600;

struct FailureRing {
    std::mutex Guard;
    FailureTimes Times{};
};

FailureRing& Ring() {
    static FailureRing ring;
    return ring;
}

}  // namespace

std::uint64_t LocalSecondsSince1601() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    // The local wall-clock time, counted as if it were universal time.
    return static_cast<std::uint64_t>(now + local.tm_gmtoff) + SecondsFrom1601To1970;
}

void RecordFailureTime(std::uint64_t time) {
    FailureRing& ring = Ring();
    std::lock_guard lock(ring.Guard);
    for (std::size_t i = RecentFailureCount - 1; i > 0; --i) {
        ring.Times[i] = ring.Times[i - 1];
    }
    ring.Times[0] = time;
}

void RecordFailureTime() {
    RecordFailureTime(LocalSecondsSince1601());
}

FailureTimes RecentFailureTimes() {
    FailureRing& ring = Ring();
    std::lock_guard lock(ring.Guard);
    return ring.Times;
}

void SetRecentFailureTimes(const FailureTimes& times) {
    FailureRing& ring = Ring();
    std::lock_guard lock(ring.Guard);
    ring.Times = times;
}

}  // namespace kestrix
