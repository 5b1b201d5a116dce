// \brief The rule of the automatic outcomes AutoRestart and AutoClose: 0 never, 1 always, N of 2
// or more only when the ten most recent failures all happened within the last N seconds.
#pragma once

#include <cstdint>

#include "crash/threads/recent_failure_times.h"

namespace kestrix {

bool AutomaticOutcomeApplies(std::int32_t rule, const FailureTimes& times, std::uint64_t now);

// The rule against the process's recent failures and the current local time.
bool AutomaticOutcomeApplies(std::int32_t rule);

}  // namespace kestrix
