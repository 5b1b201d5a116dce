// Tests of the automatic-outcome rule and of the failure times it reads.
#include "crash/threads/automatic_outcome.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace kestrix {
namespace {

constexpr std::uint64_t Now = 13'400'000'000;

FailureTimes TenFailuresEndingSecondsAgo(std::uint64_t oldestAge) {
    FailureTimes times{};
    for (std::size_t i = 0; i < RecentFailureCount; ++i) {
        times[i] = Now - oldestAge * i / (RecentFailureCount - 1);
    }
    return times;
}

struct RuleCase {
    const char* What;
    std::int32_t Rule;
    FailureTimes Times;
    bool Applies;
};

TEST(AutomaticOutcome, TheRuleCountsTheTenMostRecentFailures) {
    FailureTimes nine = TenFailuresEndingSecondsAgo(5);
    nine[9] = 0;
    const RuleCase cases[] = {
        {"never", 0, TenFailuresEndingSecondsAgo(0), false},
        {"negative counts as never", -5, TenFailuresEndingSecondsAgo(0), false},
        {"always, even without failures", 1, FailureTimes{}, true},
        {"ten within the window", 60, TenFailuresEndingSecondsAgo(59), true},
        {"the oldest just on the window's edge", 60, TenFailuresEndingSecondsAgo(60), true},
        {"the oldest one second outside", 60, TenFailuresEndingSecondsAgo(61), false},
        {"an empty place counts as not within", 60, nine, false},
        {"no failures", 2, FailureTimes{}, false},
    };
    for (const RuleCase& rule : cases) {
        SCOPED_TRACE(rule.What);
        EXPECT_EQ(AutomaticOutcomeApplies(rule.Rule, rule.Times, Now), rule.Applies);
    }
}

TEST(RecentFailureTimes, EachFailureShiftsTheRingAndStoresItsTimeInFront) {
    const FailureTimes saved = RecentFailureTimes();
    SetRecentFailureTimes(FailureTimes{});
    for (std::uint64_t time = 1; time <= 12; ++time) {
        RecordFailureTime(time);
    }
    EXPECT_EQ(RecentFailureTimes(), (FailureTimes{12, 11, 10, 9, 8, 7, 6, 5, 4, 3}));
    SetRecentFailureTimes(saved);
}

TEST(RecentFailureTimes, TimesAreLocalSecondsSince1601) {
    const char* const savedZone = std::getenv("TZ");
    const std::string saved = savedZone ? savedZone : "";
    const struct {
        const char* Zone;
        std::int64_t OffsetSeconds;
    } zones[] = {{"UTC0", 0}, {"EAT-3", 3 * 3600}, {"NST+3:30", -(3 * 3600 + 1800)}};
    for (const auto& zone : zones) {
        SCOPED_TRACE(zone.Zone);
        setenv("TZ", zone.Zone, 1);
        tzset();
        const std::time_t before = std::time(nullptr);
        const auto local = static_cast<std::int64_t>(LocalSecondsSince1601());
        const std::time_t after = std::time(nullptr);
        const std::int64_t universal = local - zone.OffsetSeconds - 11'644'473'600;
        EXPECT_GE(universal, before);
        EXPECT_LE(universal, after);
    }
    if (savedZone) {
        setenv("TZ", saved.c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
}

}  // namespace
}  // namespace kestrix
