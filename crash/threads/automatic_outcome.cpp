// \brief The automatic-outcome rule; an empty place in the ring counts as not within.
#include "crash/threads/automatic_outcome.h"

#include <algorithm>

namespace kestrix {

bool AutomaticOutcomeApplies(std::int32_t rule, const FailureTimes& times, std::uint64_t now) {
    if (rule <= 0) {
        return false;
    }
    if (rule == 1) {
        return true;
    }
    const auto window = static_cast<std::uint64_t>(rule);
    return std::ranges::all_of(times, [now, window](std::uint64_t time) {
        // A time after now (a clock set back) counts as within.
        return time != 0 && (time >= now || now - time <= window);
    });
}

bool AutomaticOutcomeApplies(std::int32_t rule) {
    return AutomaticOutcomeApplies(rule, RecentFailureTimes(), LocalSecondsSince1601());
}

}  // namespace kestrix
