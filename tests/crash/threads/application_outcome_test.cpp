// Tests of restart, close and the automatic close rule in real processes: the outcome probe is
// started as a child; a restarted probe becomes this test's child too (it is the subreaper), so
// both exit codes are seen.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>
#include <string>
#include <vector>

#include "crash/threads/application_restart.h"
#include "crash/threads/recent_failure_times.h"

extern char** environ;

namespace {

struct ProbeRun {
    pid_t Process = 0;
    int ExitCode = -1;
    std::string Output;
    // The process a restart started, when there was one.
    int RestartedExitCode = -1;
};

int ExitCodeOf(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

ProbeRun RunProgram(const char* program, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), program);
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    prctl(PR_SET_CHILD_SUBREAPER, 1);
    int output[2];
    EXPECT_EQ(pipe2(output, O_CLOEXEC), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    ProbeRun run;
    EXPECT_EQ(posix_spawn(&run.Process, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);

    // The output ends when the last process holding the pipe, old or restarted, has ended.
    char buffer[4096];
    for (ssize_t got; (got = read(output[0], buffer, sizeof buffer)) > 0;) {
        run.Output.append(buffer, static_cast<std::size_t>(got));
    }
    close(output[0]);
    int status = 0;
    EXPECT_EQ(waitpid(run.Process, &status, 0), run.Process);
    run.ExitCode = ExitCodeOf(status);
    if (run.ExitCode == 2) {
        EXPECT_GT(waitpid(-1, &status, 0), 0);
        run.RestartedExitCode = ExitCodeOf(status);
    }
    return run;
}

ProbeRun RunProbe(std::vector<std::string> arguments) {
    return RunProgram(KESTRIX_OUTCOME_PROBE, std::move(arguments));
}

// The lines of the output that begin with the prefix, without it.
std::vector<std::string> LinesAfter(const std::string& output, const std::string& prefix) {
    std::vector<std::string> lines;
    std::istringstream stream(output);
    for (std::string line; std::getline(stream, line);) {
        if (line.starts_with(prefix)) {
            lines.push_back(line.substr(prefix.size()));
        }
    }
    return lines;
}

// The lines that tell the outcome: "closing after failure N" or "continuing".
std::vector<std::string> OutcomeLines(const std::string& output) {
    std::vector<std::string> lines = LinesAfter(output, "closing");
    for (std::string& line : lines) {
        line.insert(0, "closing");
    }
    if (!LinesAfter(output, "continuing").empty()) {
        lines.push_back("continuing");
    }
    return lines;
}

struct BurstCase {
    const char* AutoClose;
    const char* Failures;
    int ExitCode;
    const char* Outcome;
};

TEST(AutomaticClose, ClosesOnlyOnTheFailureTheRuleNames) {
    const BurstCase cases[] = {
        {"3600", "10", 1, "closing after failure 10"},
        {"3600", "9", 0, "continuing"},
        {"2", "10", 1, "closing after failure 10"},
        {"1", "3", 1, "closing after failure 1"},
        {"0", "12", 0, "continuing"},
    };
    for (const BurstCase& burst : cases) {
        SCOPED_TRACE(std::string("AutoClose ") + burst.AutoClose + ", failures " + burst.Failures);
        const ProbeRun run = RunProbe({burst.AutoClose, burst.Failures});
        EXPECT_EQ(run.ExitCode, burst.ExitCode);
        EXPECT_EQ(OutcomeLines(run.Output), std::vector<std::string>{burst.Outcome});
    }
}

TEST(CloseApplication, EndsAtOnceWithExitCodeOneAndNoFinalisation) {
    const ProbeRun run = RunProbe({"1", "1"});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Output.find("finalised"), std::string::npos) << run.Output;

    const ProbeRun normal = RunProbe({"0", "1"});
    EXPECT_EQ(normal.ExitCode, 0);
    EXPECT_NE(normal.Output.find("finalised"), std::string::npos) << "the probe's own check";
}

TEST(RestartApplication, TheMemoryIsNamedAfterTheNewProcessInLowerCaseHex) {
    EXPECT_EQ(kestrix::RestartMemoryName(0x1a2b), "/KestrixRestart$1a2b");
}

// Writes restart memory for this process, as an old process would for its successor.
void WriteRestartMemoryForThisProcess(const void* bytes, std::size_t size) {
    const std::string name = kestrix::RestartMemoryName(getpid());
    const int descriptor = shm_open(name.c_str(), O_CREAT | O_EXCL | O_RDWR, 0600);
    ASSERT_GE(descriptor, 0);
    ASSERT_EQ(write(descriptor, bytes, size), static_cast<ssize_t>(size));
    close(descriptor);
}

bool RestartMemoryExists() {
    const int descriptor = shm_open(kestrix::RestartMemoryName(getpid()).c_str(), O_RDONLY, 0);
    if (descriptor >= 0) {
        close(descriptor);
    }
    return descriptor >= 0;
}

TEST(RestartApplication, AProcessTakesOverOnlyWholeMemoryNamedForItAndRemovesIt) {
    EXPECT_FALSE(kestrix::TakeOverRestart().has_value()) << "not started by a restart";

    const char damaged[40] = {};
    WriteRestartMemoryForThisProcess(damaged, sizeof damaged);
    EXPECT_FALSE(kestrix::TakeOverRestart().has_value());
    EXPECT_FALSE(RestartMemoryExists());

    const pid_t ended = fork();
    if (ended == 0) {
        _exit(0);
    }
    ASSERT_GT(ended, 0);
    ASSERT_EQ(waitpid(ended, nullptr, 0), ended);
    struct {
        std::uint32_t OldProcessId;
        std::uint32_t MappingHandle;
        kestrix::FailureTimes Times;
    } memory{static_cast<std::uint32_t>(ended), 0, {10, 9, 8, 7, 6, 5, 4, 3, 2, 1}};
    static_assert(sizeof memory == 88);
    WriteRestartMemoryForThisProcess(&memory, sizeof memory);
    EXPECT_EQ(kestrix::TakeOverRestart(), std::optional<pid_t>(ended));
    EXPECT_EQ(kestrix::RecentFailureTimes(), memory.Times);
    EXPECT_FALSE(RestartMemoryExists());
}

TEST(RestartApplication, TheNewProcessTakesOverTheTenTimesAfterTheOldOneHasEnded) {
    const ProbeRun run = RunProbe({"0", "12", "0"});
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_EQ(run.RestartedExitCode, 0);
    const std::vector<std::string> oldTimes = LinesAfter(run.Output, "old time ");
    ASSERT_EQ(oldTimes.size(), 10u) << run.Output;
    for (const std::string& time : oldTimes) {
        EXPECT_NE(time, "0") << "twelve failures fill all ten places";
    }
    EXPECT_EQ(LinesAfter(run.Output, "new time "), oldTimes);
    const std::vector<std::string> ended = LinesAfter(run.Output, "old process ");
    ASSERT_EQ(ended.size(), 1u) << run.Output;
    const std::string state = ended[0].substr(ended[0].rfind(' ') + 1);
    EXPECT_TRUE(state == "X" || state == "Z") << ended[0];
    EXPECT_EQ(ended[0].substr(0, ended[0].find(' ')), std::to_string(run.Process));
    EXPECT_EQ(run.Output.find("finalised"), run.Output.rfind("finalised"))
        << "only the restarted process ends normally";
}

TEST(RestartApplication, TheBurstRuleCountsAcrossTheRestart) {
    const ProbeRun tenth = RunProbe({"3600", "6", "4"});
    EXPECT_EQ(tenth.ExitCode, 2);
    EXPECT_EQ(tenth.RestartedExitCode, 1) << tenth.Output;
    EXPECT_NE(tenth.Output.find("closing after failure 4"), std::string::npos);

    const ProbeRun ninth = RunProbe({"3600", "6", "3"});
    EXPECT_EQ(ninth.ExitCode, 2);
    EXPECT_EQ(ninth.RestartedExitCode, 0) << ninth.Output;
}

TEST(FreezeWatchdogProgram, ReportsTheBlockedGuiThreadWhenSwitchedOn) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const ProbeRun on = RunProgram(KESTRIX_FREEZE_PROBE, {"on"});
    EXPECT_EQ(on.ExitCode, 1);
    EXPECT_EQ(on.Output, "watching\nfrozen\n");

    const ProbeRun off = RunProgram(KESTRIX_FREEZE_PROBE, {"off"});
    EXPECT_EQ(off.ExitCode, 0);
    EXPECT_EQ(off.Output, "not watching\n");
}

}  // namespace
