// Tests of the gatool program's command line: commands, options, files and the words taken for
// unknown commands.
#include "app/program_arguments.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "tests/app/usage_error_cases.h"

namespace gatool {
namespace {

ProgramArguments Parse(const std::vector<std::string_view>& arguments) {
    return ParseProgramArguments(arguments);
}

TEST(ParseProgramArguments, TellsCommandsFromFiles) {
    using Files = std::vector<std::string_view>;
    struct Case {
        std::vector<std::string_view> arguments;
        ProgramCommand command;
        Files rest;
    } const cases[] = {
        {{}, ProgramCommand::Window, {}},
        {{"GA_1.txt", "DCF_1.txt"}, ProgramCommand::Window, {"GA_1.txt", "DCF_1.txt"}},
        {{"data/GA1"}, ProgramCommand::Window, {"data/GA1"}},
        {{"GA1.txt", "bogus"}, ProgramCommand::Window, {"GA1.txt", "bogus"}},
        {{"--", "bogus", "-GA.txt"}, ProgramCommand::Window, {"bogus", "-GA.txt"}},
        {{"analyze", "GA1", "--fit=5"}, ProgramCommand::Analyze, {"GA1", "--fit=5"}},
        {{"analyze"}, ProgramCommand::Analyze, {}},
        {{"--help"}, ProgramCommand::Help, {}},
        {{"GA1.txt", "-h"}, ProgramCommand::Help, {}},
        {{"--version"}, ProgramCommand::Version, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.empty() ? "(none)" : c.arguments.front());
        const ProgramArguments parsed = Parse(c.arguments);
        EXPECT_EQ(parsed.Command, c.command);
        EXPECT_EQ(parsed.Rest, c.rest);
    }
}

TEST(ParseProgramArguments, TakesAnExistingFileForAFileWhateverItsName) {
    const std::string name = "GA0001";
    std::ofstream(name) << "x";
    const ProgramArguments parsed = Parse({name});
    std::filesystem::remove(name);
    EXPECT_EQ(parsed.Command, ProgramCommand::Window);
    EXPECT_EQ(parsed.Rest, std::vector<std::string_view>{name});
}

TEST(ParseProgramArguments, RefusesUnknownCommandsAndOptions) {
    testing::ExpectUsageErrors(
        Parse,
        {
            {{"bogus"}, "unknown command \"bogus\""},
            {{"analyse", "GA1.txt"}, "unknown command \"analyse\"; did you mean \"analyze\"?"},
            {{"Analyze"}, "unknown command \"Analyze\"; did you mean \"analyze\"?"},
            {{"anlyz"}, "unknown command \"anlyz\"; did you mean \"analyze\"?"},
            {{"an"}, "unknown command \"an\""},
            {{"--version=2"}, "unknown option \"--version=2\""},
            {{"-platform", "offscreen"}, "unknown option \"-platform\""},
            {{"GA1.txt", "--bogus"}, "unknown option \"--bogus\""},
            {{"a.txt", "b.txt", "c.txt"},
             "too many files: the window loads one GA file and one DCF file"},
        });
}

}  // namespace
}  // namespace gatool
