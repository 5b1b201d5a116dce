// Tests of `gatool analyze` with files that are not what they claim: each ends with a message or a
// note that says why nothing or not everything was loaded, in the text and in the JSON report.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/analyze_command.h"
#include "numtext/number_marks.h"
#include "tests/data/ga_text.h"

namespace gatool {
namespace {

std::string WriteHostile(const std::string& name, const std::string& bytes) {
    const auto path = std::filesystem::temp_directory_path() / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
}

std::string Utf16LittleEndian(const std::string& text) {
    std::string bytes = "\xFF\xFE";
    for (const char c : text) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

struct CommandOutput {
    std::string out;
    std::string err;
};

CommandOutput Analyze(std::vector<std::string_view> arguments) {
    std::ostringstream out, err;
    RunAnalyzeCommand(arguments, out, err);
    return {out.str(), err.str()};
}

class HostileFilesTest : public ::testing::Test {
  protected:
    void SetUp() override { SetNumberMarks(".", ","); }
};

TEST_F(HostileFilesTest, SaysWhyAFileGaveNoOrTooFewScans) {
    std::string nanSecondDark = testing::GaText(3);
    nanSecondDark.replace(nanSecondDark.find("DARK", nanSecondDark.find("DARK") + 1) + 5, 3, "nan");
    const std::string fifo = (std::filesystem::temp_directory_path() / "GA_hostile_fifo").string();
    std::filesystem::remove(fifo);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    struct Case {
        std::string file;
        std::string said;  // in the text report, out or err
        bool failed;
    } const cases[] = {
        {WriteHostile("GA_hostile_empty", ""), "note: the file holds no scan block", false},
        {WriteHostile("GA_hostile_two_lines",
                      "Integration time is 0.5 seconds per sample\r\ndt 0\r\n"),
         "note: the file holds no scan block", false},
        {WriteHostile("GA_hostile_nan", nanSecondDark),
         "note: 1 scan read; the file goes on after line 33 unread", false},
        {WriteHostile("GA_hostile_utf16", Utf16LittleEndian(testing::GaText(2))),
         ": The file is UTF-16 text (little-endian); it must be plain ASCII or UTF-8 text.\n",
         true},
        {fifo, ": it is a FIFO (named pipe), not a regular file\n", true},
        {WriteHostile("GA_hostile_sparse", std::string(1100000, '\0')),
         ": The header's text line (line 1) runs on for more than 1048576 characters", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const CommandOutput text = Analyze({c.file});
        EXPECT_NE((text.out + text.err).find(c.said), std::string::npos) << text.out << text.err;

        const CommandOutput json = Analyze({c.file, "--json"});
        const nlohmann::json report = nlohmann::json::parse(json.out);
        if (c.failed) {
            const std::string message = c.said.substr(2, c.said.find_last_not_of('\n') - 1);
            EXPECT_NE(report["error"]["message"].get<std::string>().find(message),
                      std::string::npos);
        } else {
            const std::string note = c.said.substr(std::string("note: ").size());
            ASSERT_FALSE(report["notes"].empty());
            EXPECT_EQ(report["notes"][0].get<std::string>().substr(0, note.size()), note);
        }
    }
    std::filesystem::remove(fifo);
}

TEST_F(HostileFilesTest, LoadsAFileWithAUtf8ByteOrderMarkLikeOneWithout) {
    const CommandOutput plain =
        Analyze({WriteHostile("GA_hostile_plain", testing::GaText(4)), "--json"});
    const CommandOutput marked =
        Analyze({WriteHostile("GA_hostile_bom", "\xEF\xBB\xBF" + testing::GaText(4)), "--json"});
    nlohmann::json a = nlohmann::json::parse(plain.out);
    nlohmann::json b = nlohmann::json::parse(marked.out);
    EXPECT_EQ(b["last_scan"], 3);
    a.erase("file");
    b.erase("file");
    EXPECT_EQ(a, b);
}

TEST_F(HostileFilesTest, NamesWhereAFailureStruck) {
    const std::string dcf = WriteHostile(
        "DCF_hostile_huge.txt", "1 1e308 1e308 1 1e308 1e308 1 1 1 1 1 1 1 1e308 1e308 1 1 1");
    const std::string overflowingCount = WriteHostile(
        "GA_hostile_count", testing::HeaderText("\r\n", "5e-8") + testing::BlockText(100, 1000, 4) +
                                testing::BlockText(100, 1010, 4, [](int s, int i) {
                                    return s == 2 && i == 7 ? 99999999999999999999.0 : 1000.0;
                                }));
    const std::string sample = WriteHostile("GA_hostile_sample", testing::GaText(5));
    struct Case {
        std::vector<std::string_view> arguments;
        std::string place;
        std::string jsonStage;
    } const cases[] = {
        {{overflowingCount},
         ": in the dead-time correction of scan 1, slit 2, step 7 (line 41)\n",
         "dead-time correction"},
        {{sample, "--dcf", dcf}, ": in the CI simulation with " + dcf + "\n", "CI simulation"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.place);
        const CommandOutput text = Analyze(c.arguments);
        EXPECT_NE(text.err.find(": Floating point overflow\n"), std::string::npos) << text.err;
        EXPECT_NE(text.err.find(c.place), std::string::npos) << text.err;

        std::vector<std::string_view> json = c.arguments;
        json.push_back("--json");
        const nlohmann::json report = nlohmann::json::parse(Analyze(json).out);
        EXPECT_EQ(report["error"]["message"], "Floating point overflow");
        EXPECT_EQ(report["error"]["place"]["stage"], c.jsonStage);
    }
}

}  // namespace
}  // namespace gatool
