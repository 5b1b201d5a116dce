// Tests of `gatool analyze`: options, output per scan and slit, and failing files.
#include "app/analyze_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/data/ga_text.h"

namespace gatool {
namespace {

struct CommandRun {
    int status;
    std::string out;
    std::string err;
};

CommandRun Analyze(std::vector<std::string_view> arguments) {
    std::ostringstream out, err;
    const int status = RunAnalyzeCommand(arguments, out, err);
    return {status, out.str(), err.str()};
}

std::string WriteTemporary(const std::string& name, const std::string& text) {
    const auto path = std::filesystem::temp_directory_path() / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
}

TEST(AnalyzeCommand, RefusesBadArgumentsWithOneLine) {
    struct Case {
        std::vector<std::string_view> arguments;
        const char* message;
    } const cases[] = {
        {{}, "gatool analyze: no GA file given (see gatool analyze --help)\n"},
        {{"GA1", "--fit"},
         "gatool analyze: --fit needs a value: 5 or 7 (see gatool analyze --help)\n"},
        {{"GA1", "--fit", "6"},
         "gatool analyze: --fit takes 5 or 7, not \"6\" (see gatool analyze --help)\n"},
        {{"GA1", "--fast"},
         "gatool analyze: unknown option \"--fast\" (see gatool analyze --help)\n"},
        {{"GA1", "GA2"}, "gatool analyze: one GA file at a time (see gatool analyze --help)\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const CommandRun run = Analyze(c.arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err, c.message);
        EXPECT_EQ(run.out, "");
    }
}

TEST(AnalyzeCommand, ExplainsItsOptions) {
    const CommandRun run = Analyze({"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("--fit 5|7"), std::string::npos);
}

TEST(AnalyzeCommand, PrintsThePeakOfEverySlitInEveryScan) {
    const std::string path = WriteTemporary("GA_analyze_test.txt", testing::GaText(3));
    for (const char* fit : {"5", "7"}) {
        SCOPED_TRACE(fit);
        const CommandRun run = Analyze({path, "--fit", fit});
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, "");
        std::istringstream lines(run.out);
        std::string line;
        std::getline(lines, line);
        EXPECT_EQ(line, path + ": 3 scans, " + fit + "-point fit");
        std::getline(lines, line);
        EXPECT_EQ(line, "scan slit step position height offset centre_of_mass");
        int rows = 0;
        while (std::getline(lines, line)) {
            std::istringstream row(line);
            int scan, slit, step;
            double position, height, offset, centre;
            ASSERT_TRUE(row >> scan >> slit >> step >> position >> height >> offset >> centre)
                << line;
            EXPECT_EQ(scan, rows / 6);
            EXPECT_EQ(slit, rows % 6);
            // The peaks of the fixture lie exactly on step 13 of each scan.
            EXPECT_EQ(step, 13);
            EXPECT_EQ(position, 1000 + 10 * scan + 48);
            EXPECT_EQ(offset, 0);
            ++rows;
        }
        EXPECT_EQ(rows, 18);
    }
}

TEST(AnalyzeCommand, ReportsAFailingFileWithTheScansReadBeforeIt) {
    const std::string text = testing::HeaderText() + testing::BlockText(100, 1000, 4) +
                             testing::BlockText(100, 1010, 4) +
                             testing::BlockText(100, 1020, 4, [](int, int i) { return 10.0 * i; });
    const std::string path = WriteTemporary("GA_analyze_failing.txt", text);
    const CommandRun run = Analyze({path});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, path + ": Invalid floating point operation\n" + path +
                           ": 2 scans read before the failure\n");
}

TEST(AnalyzeCommand, SaysWhenAFileCannotBeOpened) {
    const CommandRun run = Analyze({"/nonexistent/GA0001.TXT"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.substr(0, run.err.find('\n')),
              "/nonexistent/GA0001.TXT: Cannot open \"/nonexistent/GA0001.TXT\": No such file or "
              "directory");
}

TEST(AnalyzeCommand, SaysWhenOnlyTheFirstFiftyScansWereLoaded) {
    const std::string path = WriteTemporary("GA_analyze_long.txt", testing::GaText(MaxScans + 1));
    const CommandRun run = Analyze({path});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("note: the file holds more than 50 scans; the first 50 were loaded\n"),
              std::string::npos);
}

}  // namespace
}  // namespace gatool
