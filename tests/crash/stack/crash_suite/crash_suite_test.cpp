// \brief The crash suite's judge: runs every scenario of the scenario program, reads the walker's
// frames from its output and gdb's backtrace of the same point recorded at build time, and
// requires the walker to list every scenario frame gdb lists, in order, and no other. The figures
// of all scenarios are printed as a table at the end.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/crash/stack/crash_suite/frame_judgement.h"
#include "tests/crash/stack/crash_suite/scenario_run.h"

namespace crash_suite {
namespace {

std::vector<std::string> SuiteScenarios() {
    std::istringstream words(CRASH_SUITE_SCENARIOS);
    std::vector<std::string> scenarios;
    for (std::string scenario; words >> scenario;)
        scenarios.push_back(scenario);
    return scenarios;
}

struct TTableRow {
    std::string Scenario;
    TJudgement Figures;
};

std::vector<TTableRow>& Table() {
    static std::vector<TTableRow> rows;
    return rows;
}

class FiguresTable : public ::testing::Environment {
  public:
    void TearDown() override {
        if (Table().empty())
            return;
        std::printf("\n%-28s %9s %6s %7s %6s %11s\n", "scenario", "expected", "found", "missed",
                    "false", "wrong line");
        for (const TTableRow& row : Table()) {
            const TJudgement& f = row.Figures;
            std::printf("%-28s %9zu %6zu %7zu %6zu %11zu\n", row.Scenario.c_str(), f.Expected,
                        f.Found, f.Missed, f.False, f.WrongLines);
        }
        std::fflush(stdout);
    }
};

const auto* const TableAtTheEnd = ::testing::AddGlobalTestEnvironment(new FiguresTable);

class CrashSuite : public ::testing::TestWithParam<std::string> {};

TEST_P(CrashSuite, WalkerListsTheFramesGdbLists) {
    const std::string& scenario = GetParam();
    std::ifstream record(std::string(CRASH_SUITE_BACKTRACES) + "/" + scenario + ".gdb.txt");
    ASSERT_TRUE(record) << "no gdb backtrace recorded for " << scenario;
    const std::vector<TFrame> gdbFrames = ReadGdbBacktrace(record);

    const TScenarioRun run = RunScenario(CRASH_SUITE_PROGRAM, scenario, std::chrono::seconds(30));
    ASSERT_FALSE(run.TimedOut) << scenario << " did not finish:\n" << run.Output;
    ASSERT_EQ(run.ExitStatus, 0) << scenario << " failed:\n" << run.Output;
    std::istringstream output(run.Output);
    const TJudgement judgement = JudgeWalk(gdbFrames, ReadWalkedFrames(output));
    Table().push_back({scenario, judgement});

    EXPECT_GT(judgement.Expected, 0u) << "gdb lists no scenario frame";
    EXPECT_EQ(judgement.Missed + judgement.False + judgement.WrongLines, 0u)
        << judgement.Listing << "the walk:\n"
        << run.Output;
}

INSTANTIATE_TEST_SUITE_P(Scenarios,
                         CrashSuite,
                         ::testing::ValuesIn(SuiteScenarios()),
                         [](const auto& scenario) { return scenario.param; });

}  // namespace
}  // namespace crash_suite
