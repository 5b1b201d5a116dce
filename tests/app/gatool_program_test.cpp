// Tests of the gatool program run as a child process: its commands, bad command lines, unreadable
// files and the start without a display.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/window_start.h"
#include "tests/app/program_run.h"

namespace gatool {
namespace {

const std::string SampleGa = GATOOL_SAMPLES_DIR "/GA_sample.txt";
const std::string SampleDcf = GATOOL_SAMPLES_DIR "/DCF_sample.txt";

// An environment without a display: the sanitizers' settings are kept, nothing else.
std::vector<std::string> EnvironmentWithoutDisplay() {
    std::vector<std::string> environment{"PATH=/usr/bin:/bin"};
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"}) {
        if (const char* value = std::getenv(name)) {
            environment.push_back(std::string(name) + "=" + value);
        }
    }
    return environment;
}

testing::ProgramRun RunGatool(const std::vector<std::string>& arguments,
                              std::vector<std::string> environment = EnvironmentWithoutDisplay()) {
    return testing::RunProgram(GATOOL_EXECUTABLE, arguments, environment);
}

TEST(GatoolProgram, AnswersEveryCommandLineWithItsStatusAndMessage) {
    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::string out;
        std::string err;
    } const cases[] = {
        {{"--version"}, 0, "gatool " GATOOL_VERSION "\n", ""},
        {{"bogus"}, 2, "", "gatool: unknown command \"bogus\" (see gatool --help)\n"},
        {{"analyse", SampleGa},
         2,
         "",
         "gatool: unknown command \"analyse\"; did you mean \"analyze\"? (see gatool --help)\n"},
        {{"--bogus"}, 2, "", "gatool: unknown option \"--bogus\" (see gatool --help)\n"},
        {{SampleGa, SampleDcf, SampleGa},
         2,
         "",
         "gatool: too many files: the window loads one GA file and one DCF file (see gatool "
         "--help)\n"},
        {{"/nonexistent/GA_x.txt"},
         1,
         "",
         "gatool: Cannot open \"/nonexistent/GA_x.txt\": No such file or directory\n"},
        {{SampleGa, "/nonexistent/DCF_x.txt"},
         1,
         "",
         "gatool: Cannot open \"/nonexistent/DCF_x.txt\": No such file or directory\n"},
        {{"analyze", SampleGa, "--manual", "1", "0x"},
         2,
         "",
         "gatool analyze: --manual GI: '0x' is not a valid floating point value (see gatool "
         "analyze --help)\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.front());
        const testing::ProgramRun run = RunGatool(c.arguments);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, c.err);
    }
}

TEST(GatoolProgram, RunsTheAnalyzeCommandWithOptionValuesAfterAnEqualsSign) {
    const testing::ProgramRun run = RunGatool({"analyze", SampleGa, "--fit=5", "--slits=1,3"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')),
              SampleGa + ": 20 scans, 5-point fit, slits 1,3");
}

TEST(GatoolProgram, RefusesAFolderNamedAsAFile) {
    const testing::ProgramRun run = RunGatool({std::filesystem::temp_directory_path().string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.starts_with("gatool: Cannot ")) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
}

TEST(GatoolProgram, SaysOnOneLineThatTheWindowNeedsADisplay) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{}, std::vector<std::string>{SampleGa, SampleDcf}}) {
        SCOPED_TRACE(arguments.size());
        const testing::ProgramRun run = RunGatool(arguments);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, std::string(NoDisplayMessage) + "\n");
        EXPECT_NE(run.err.find("gatool analyze"), std::string::npos);
    }
}

TEST(GatoolProgram, EndsWithTheSameLineWhenTheDisplayNamedCannotBeReached) {
    std::vector<std::string> environment = EnvironmentWithoutDisplay();
    environment.push_back("DISPLAY=:12345");
    const testing::ProgramRun run = RunGatool({}, environment);
    EXPECT_EQ(run.status, 1);
    const std::string lastLine = std::string(NoDisplayMessage) + "\n";
    EXPECT_TRUE(run.err.ends_with(lastLine)) << run.err;
}

}  // namespace
}  // namespace gatool
