// The reporter end to end: the fault probe is run as a child process for every kind of failure,
// with a private temporary folder of its own and no display; the tests check its exit code, what
// it printed and the report it saved. Every run is bounded: one that does not end in time is
// killed and fails.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

// Generous for the sanitizer build, where walking an overflowed stack takes a while.
constexpr std::chrono::seconds RunTimeLimit{60};

struct ProbeRun {
    int ExitCode = -1;
    bool TimedOut = false;
    std::string Output;
    std::string Report;  // the saved report file's text; "" when there is none
    bool ReportSaved = false;
};

int ExitCodeOf(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// The probe sees no display: the offscreen platform needs none.
std::vector<std::string> ProbeEnvironment(const fs::path& folder, const std::string& platform) {
    std::vector<std::string> environment = {"QT_QPA_PLATFORM=" + platform,
                                            "TMPDIR=" + folder.string()};
    for (char** each = environ; *each != nullptr; ++each) {
        const std::string variable = *each;
        if (!variable.starts_with("XDG_RUNTIME_DIR=") && !variable.starts_with("TMPDIR=") &&
            !variable.starts_with("QT_QPA_PLATFORM=") && !variable.starts_with("ASAN_OPTIONS=") &&
            !variable.starts_with("DISPLAY=") && !variable.starts_with("WAYLAND_DISPLAY=")) {
            environment.push_back(variable);
        }
    }
#ifdef KESTRIX_PROBE_ASAN_OPTIONS
    environment.push_back(std::string("ASAN_OPTIONS=") + KESTRIX_PROBE_ASAN_OPTIONS);
#endif
    return environment;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// Reads everything the probe and any process it started write, until the last of them has closed
// the pipe or the time limit has passed; then kills what is left.
void ReadUntilClosed(int output, pid_t probe, ProbeRun& run) {
    const auto deadline = std::chrono::steady_clock::now() + RunTimeLimit;
    char buffer[4096];
    while (true) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            run.TimedOut = true;
            kill(probe, SIGKILL);
            break;
        }
        pollfd wait{.fd = output, .events = POLLIN, .revents = 0};
        if (poll(&wait, 1, static_cast<int>(left.count())) <= 0) {
            continue;
        }
        const ssize_t got = read(output, buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        run.Output.append(buffer, static_cast<std::size_t>(got));
    }
}

ProbeRun RunProbe(const std::vector<std::string>& probeArguments,
                  const std::string& platform = "offscreen") {
    const fs::path folder =
        fs::temp_directory_path() / ("kestrix-probe-test-" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::vector<std::string> arguments = {KESTRIX_FAULT_PROBE};
    arguments.insert(arguments.end(), probeArguments.begin(), probeArguments.end());
    std::vector<std::string> environment = ProbeEnvironment(folder, platform);

    // A restarted probe becomes this process's child once its parent has ended.
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    int output[2];
    EXPECT_EQ(pipe2(output, O_CLOEXEC), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDERR_FILENO);
    pid_t probe = 0;
    ProbeRun run;
    EXPECT_EQ(posix_spawn(&probe, arguments[0].c_str(), &actions, nullptr,
                          Pointers(arguments).data(), Pointers(environment).data()),
              0);
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);
    ReadUntilClosed(output[0], probe, run);
    close(output[0]);
    int status = 0;
    waitpid(probe, &status, 0);
    run.ExitCode = ExitCodeOf(status);
    while (waitpid(-1, &status, WNOHANG) > 0) {
    }
    const fs::path report = folder / "kestrix-kestrix_fault_probe" / "bugreport.txt";
    run.ReportSaved = fs::exists(report);
    if (run.ReportSaved) {
        std::ostringstream text;
        text << std::ifstream(report).rdbuf();
        run.Report = text.str();
    }
    fs::remove_all(folder);
    return run;
}

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

struct ProbeCase {
    std::string Name;
    std::vector<std::string> Arguments;
    int ExitCode;
    // Printed by the probe, each at least once.
    std::vector<std::string> Output;
    // In the saved report; none means no report may be saved.
    std::vector<std::string> Report;
    // Never printed.
    std::vector<std::string> NotInOutput = {};
};

void PrintTo(const ProbeCase& probeCase, std::ostream* stream) {
    *stream << probeCase.Name;
}

class FaultProbe : public ::testing::TestWithParam<ProbeCase> {};

TEST_P(FaultProbe, ReportsTheFailureAndEndsAsItsOutcomeSays) {
    const ProbeCase& expected = GetParam();
    const ProbeRun run = RunProbe(expected.Arguments);
    ASSERT_FALSE(run.TimedOut) << run.Output;
    EXPECT_EQ(run.ExitCode, expected.ExitCode) << run.Output;
    for (const std::string& line : expected.Output) {
        EXPECT_NE(run.Output.find(line), std::string::npos) << line << "\n" << run.Output;
    }
    for (const std::string& line : expected.NotInOutput) {
        EXPECT_EQ(run.Output.find(line), std::string::npos) << line << "\n" << run.Output;
    }
    if (expected.Report.empty()) {
        EXPECT_FALSE(run.ReportSaved) << run.Report;
    }
    for (const std::string& part : expected.Report) {
        EXPECT_NE(run.Report.find(part), std::string::npos) << part << "\n" << run.Report;
    }
}

const char* const Box = "box shown: An error occurred in the application.";
const char* const Continued = "action: 4";
const char* const Closed = "action: 6";
// The report of a freeze: its message instead of a class.
const char* const Frozen = "exception message : The application seems to be frozen.";

std::vector<ProbeCase> Faults() {
    struct Fault {
        std::string Kind;
        std::string Class;
        std::string Message;
        std::string Function;  // where the fault happened, named in the call stack
    };
    const Fault faults[] = {
        {"segv", "EAccessViolation", "Access violation at address ", "AccessViolation"},
        {"fpe", "EDivByZero", "Division by zero", "DivisionByZero"},
        {"ill", "EExternalException", "External exception SIGILL", "IllegalInstruction"},
        {"bus", "EExternalException", "External exception SIGBUS", "BusError"},
        {"abrt", "EExternalException", "External exception SIGABRT", "abort"},
        {"stack-overflow", "EStackOverflow", "Stack overflow", "Overflow"},
    };
    std::vector<ProbeCase> cases;
    for (const Fault& fault : faults) {
        for (const std::string thread : {"", "-worker"}) {
            const std::string failure = "failure: " + fault.Class + ": " + fault.Message;
            cases.push_back({fault.Kind + thread,
                             {fault.Kind + thread},
                             1,
                             {failure, Box, Closed},
                             {"exception class   : " + fault.Class,
                              "exception message : " + fault.Message, fault.Function}});
        }
    }
    return cases;
}

std::vector<ProbeCase> Exceptions() {
    const std::string classOfProbe = "exception class   : EProbeError";
    return {
        {"button",
         {"button"},
         0,
         {"failure: EProbeError: probe failure in a button handler (esApplicationHandleException)",
          Box, Continued, "continued; events during handling: ", "next event handled"},
         {classOfProbe, "exception message : probe failure in a button handler",
          "RaiseProbeError"}},
        {"std_thread",
         {"std-thread"},
         0,
         {"failure: EProbeError: probe failure in a std::thread (esThreadFrame)", Box, Continued,
          "run ended"},
         {classOfProbe, "RaiseProbeError"}},
        {"joined_thread",
         {"joined-thread"},
         0,
         {"failure: EProbeError: probe failure in a thread the GUI thread joins (esThreadFrame)",
          Box, Continued, "joined"},
         {classOfProbe}},
        {"pthread",
         {"pthread"},
         0,
         {"failure: EProbeError: probe failure in a plain thread (esThreadFrame)",
          "plain thread returned -1", "run ended"},
         {classOfProbe}},
        {"qthread",
         {"qthread"},
         1,
         {"failure: EProbeError: probe failure in a QThread (esBcbAbnormalProgramTermination)", Box,
          Closed},
         {classOfProbe, "RaiseProbeError"}},
        {"terminate",
         {"terminate"},
         1,
         {"failure: BcbTermination: Abnormal program termination "
          "(esBcbAbnormalProgramTermination)",
          Box, Closed},
         {"exception class   : BcbTermination"}},
        {"qfatal",
         {"qfatal"},
         1,
         {"failure: KesException: probe fatal message 42 (esRuntimeError)", Box, Closed},
         {"exception message : probe fatal message 42"}},
        {"abort", {"abort"}, 0, {"next event handled"}, {}, {"failure:", "box shown"}},
        {"quit_while_waiting",
         {"quit-while-waiting"},
         0,
         {"failure: EProbeError: probe failure in a handler before the application quits",
          "continued; events during handling: ", "the wait ended before the failure was handled",
          "message loop ended"},
         {},
         {"run ended", Box}},
        {"escape_loop",
         {"escape-loop"},
         1,
         {"failure: EProbeError: probe failure in a handler whose failure leaves the loop "
          "(esExceptProc)",
          Box, Closed},
         {"RaiseProbeError"},
         {"message loop ended"}},
        {"hidden",
         {"hidden"},
         0,
         {"hidden: EProbeError: probe failure in code that catches it itself (esHidden)",
          "caught by the program"},
         {},
         {"failure:", "box shown"}},
        {"freeze",
         {"freeze"},
         0,
         {"failure: :  (esAntiFreezeCheck)", "box shown: The application seems to be frozen.",
          Continued, "unfrozen"},
         {Frozen, "\r\n\r\nmain thread (", "FreezeGuiThread"}},
        // No automatic button: the freeze box closes by itself once the main thread answers.
        {"freeze_passes",
         {"freeze", "wait"},
         0,
         {"failure: :  (esAntiFreezeCheck)", "box shown: The application seems to be frozen.",
          "unfrozen", Continued},
         {Frozen}},
        {"handler_failure",
         {"handler-failure"},
         0,
         {"failing handler", Box, Continued, "next event handled"},
         {"exception message : probe failure in a button handler"}},
        {"two_threads",
         {"two-threads"},
         0,
         {"failure: EProbeError: probe failure in first thread",
          "failure: EProbeError: probe failure in second thread", "run ended"},
         {"probe failure in first thread", "probe failure in second thread"}},
        {"restart",
         {"button", "restart"},
         2,
         {"action: 5", "started after restart"},
         {classOfProbe}},
        {"close", {"button", "close"}, 1, {Box, Closed}, {classOfProbe}},
        // No automatic button: Esc closes the box, and the failure continues.
        {"escape", {"button", "escape"}, 0, {Box, Continued, "next event handled"}, {classOfProbe}},
    };
}

// Test names cannot hold the dashes of the probe's arguments.
std::string CaseName(const ::testing::TestParamInfo<ProbeCase>& each) {
    std::string name = each.param.Name;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(Exceptions, FaultProbe, ::testing::ValuesIn(Exceptions()), CaseName);
INSTANTIATE_TEST_SUITE_P(Faults, FaultProbe, ::testing::ValuesIn(Faults()), CaseName);

// A failure raised while the box of another is up waits for it and is reported after it, in turn.
TEST(FaultProbeOrder, ReportsTwoFailuresAtOnceOneAfterTheOther) {
    const ProbeRun run = RunProbe({"two-threads"});
    ASSERT_FALSE(run.TimedOut) << run.Output;
    EXPECT_EQ(Count(run.Output, "failure: EProbeError"), 2u) << run.Output;
    EXPECT_EQ(Count(run.Output, Box), 2u) << run.Output;
    const std::size_t firstContinue = run.Output.find(Continued);
    const std::size_t secondFailure =
        run.Output.find("failure: EProbeError", run.Output.find("failure: EProbeError") + 1);
    EXPECT_LT(firstContinue, secondFailure) << run.Output;
    EXPECT_EQ(Count(run.Report, "exception class   : EProbeError"), 2u);
}

// A failure of the GUI thread while a box is up is queued and reported once that box has closed.
TEST(FaultProbeOrder, ReportsAFailureDuringTheBoxAfterIt) {
    const ProbeRun run = RunProbe({"during-box"});
    ASSERT_FALSE(run.TimedOut) << run.Output;
    EXPECT_EQ(run.ExitCode, 0) << run.Output;
    const std::size_t firstContinue = run.Output.find(Continued);
    const std::size_t secondFailure =
        run.Output.find("failure: EProbeError: probe failure in an event while the box is up");
    ASSERT_NE(secondFailure, std::string::npos) << run.Output;
    EXPECT_LT(firstContinue, secondFailure) << run.Output;
    EXPECT_EQ(Count(run.Output, Box), 2u) << run.Output;
    EXPECT_EQ(Count(run.Report, "exception class   : EProbeError"), 2u);
}

// A fault of the GUI thread while its box is up cannot wait for the box that waits for it: the
// process ends by the fault at once, with the first failure's report saved.
TEST(FaultProbeOrder, EndsAtAFaultOfTheGuiThreadDuringTheBoxWithTheFirstReportSaved) {
    const ProbeRun run = RunProbe({"fault-during-box"});
    ASSERT_FALSE(run.TimedOut) << run.Output;
    EXPECT_EQ(run.ExitCode, 128 + SIGSEGV) << run.Output;
    EXPECT_NE(run.Output.find(Box), std::string::npos) << run.Output;
    EXPECT_EQ(Count(run.Report, "exception class   : EProbeError"), 1u) << run.Report;
    EXPECT_EQ(run.Report.find("EAccessViolation"), std::string::npos) << run.Report;
}

// Qt's fatal message while the application object is being constructed (no display for its
// platform): no window can come up in the process, nor in the helper, yet the failure is reported
// and the run closes instead of dead-locking on a box.
TEST(FaultProbeStart, ReportsAFatalMessageOfTheApplicationsConstructionAndCloses) {
    const ProbeRun run = RunProbe({"button"}, "xcb");
    ASSERT_FALSE(run.TimedOut) << run.Output;
    EXPECT_EQ(run.ExitCode, 1) << run.Output;
    EXPECT_NE(run.Output.find("failure: KesException: "), std::string::npos) << run.Output;
    EXPECT_NE(run.Output.find("(esRuntimeError)"), std::string::npos) << run.Output;
    EXPECT_NE(run.Output.find(Closed), std::string::npos) << run.Output;
    EXPECT_EQ(run.Output.find(Box), std::string::npos) << run.Output;
    EXPECT_NE(run.Report.find("exception class   : KesException"), std::string::npos);
}

}  // namespace
