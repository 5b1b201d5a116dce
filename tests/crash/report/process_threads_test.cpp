// The threads of the process and the state of each from its stat line.
#include "crash/report/process_threads.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>

#include "tests/crash/report/failure_scene.h"

namespace kestrix {
namespace {

// A stat line with the given name, state, nice value, real-time priority and policy.
std::string StatLine(std::string_view name, char state, int nice, int realtime, int policy) {
    std::string line = "4242 (" + std::string(name) + ") " + state;
    for (int field = 4; field <= 41; ++field) {
        line += ' ';
        if (field == 19)
            line += std::to_string(nice);
        else if (field == 40)
            line += std::to_string(realtime);
        else if (field == 41)
            line += std::to_string(policy);
        else
            line += std::to_string(field);
    }
    return line + " 0 0 0\n";
}

TEST(ParseThreadStatTest, ReadsStateAndPriority) {
    struct Case {
        const char* Name;
        std::string Stat;
        bool Stopped;
        std::optional<std::string> Priority;
    };
    const Case cases[] = {
        {"normal", StatLine("worker", 'S', 0, 0, 0), false, std::nullopt},
        {"stopped", StatLine("worker", 'T', 0, 0, 0), true, std::nullopt},
        {"traced", StatLine("worker", 't', 0, 0, 0), true, std::nullopt},
        {"nice", StatLine("worker", 'R', 5, 0, 0), false, "5"},
        {"raised", StatLine("worker", 'S', -3, 0, 0), false, "-3"},
        {"real-time", StatLine("worker", 'S', 0, 10, 1), false, "realtime 10"},
        {"name with blanks and parentheses", StatLine("a) (b c", 'S', 2, 0, 0), false, "2"},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.Name);
        const auto state = ParseThreadStat(each.Stat);
        ASSERT_TRUE(state.has_value());
        EXPECT_EQ(state->Stopped, each.Stopped);
        EXPECT_EQ(state->Priority, each.Priority);
    }
}

TEST(ParseThreadStatTest, RefusesLinesItCannotRead) {
    std::string badNice = StatLine("worker", 'S', 77, 0, 0);
    badNice.replace(badNice.find(" 77 "), 4, " x ");
    for (const std::string& stat : {std::string(), std::string("4242 worker S 1 2 3"),
                                    std::string("4242 (worker) S 1 2"), badNice}) {
        SCOPED_TRACE(stat);
        EXPECT_FALSE(ParseThreadStat(stat).has_value());
    }
}

TEST(ProcessThreadsTest, ListsEveryThreadOfTheProcessLeaderFirst) {
    const test::WaitingThreads workers(2);
    const std::vector<ThreadId> threads = ProcessThreads();
    ASSERT_FALSE(threads.empty());
    EXPECT_EQ(threads.front(), getpid());
    for (const ThreadId id : workers.Ids())
        EXPECT_NE(std::find(threads.begin(), threads.end(), id), threads.end());
    EXPECT_TRUE(ThreadStateOf(workers.Ids().front()).has_value());
    EXPECT_FALSE(ThreadStateOf(0).has_value());
}

}  // namespace
}  // namespace kestrix
