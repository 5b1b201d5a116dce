// \brief Tests of the ga_sample_generator command line: values of every option, help, and one-line
// errors for command lines that cannot be used.
#include "tools/ga_sample/ga_sample_options.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace gatool {
namespace {

TEST(GeneratorOptions, EmptyCommandLineKeepsTheDefaultsAndWritesToStandardOutput) {
    const GeneratorOptions options = ParseGeneratorOptions({});
    const GaSampleParameters defaults;
    EXPECT_EQ(options.Parameters.ScanCount, defaults.ScanCount);
    EXPECT_EQ(options.Parameters.Seed, defaults.Seed);
    EXPECT_EQ(options.Parameters.GS, defaults.GS);
    EXPECT_EQ(options.Parameters.GI, defaults.GI);
    EXPECT_TRUE(options.OutputPath.empty());
    EXPECT_FALSE(options.ShowHelp);
}

TEST(GeneratorOptions, ReadsEveryOptionIncludingNegativeAndExponentValues) {
    const GeneratorOptions options =
        ParseGeneratorOptions({"--scans", "50", "--seed", "18446744073709551615", "--gs", "1.5e-1",
                               "--gi", "-4.2", "--output", "GA_out.txt"});
    EXPECT_EQ(options.Parameters.ScanCount, 50);
    EXPECT_EQ(options.Parameters.Seed, 18446744073709551615ULL);
    EXPECT_EQ(options.Parameters.GS, 0.15);
    EXPECT_EQ(options.Parameters.GI, -4.2);
    EXPECT_EQ(options.OutputPath, "GA_out.txt");
    EXPECT_FALSE(options.ShowHelp);
}

TEST(GeneratorOptions, LaterValueOfARepeatedOptionWins) {
    EXPECT_EQ(ParseGeneratorOptions({"--scans", "3", "--scans", "4"}).Parameters.ScanCount, 4);
}

TEST(GeneratorOptions, HelpIsRecognisedAmongOtherOptions) {
    EXPECT_TRUE(ParseGeneratorOptions({"--scans", "3", "--help"}).ShowHelp);
}

TEST(GeneratorOptions, UnusableCommandLinesRaiseOneLineErrorsNamingTheProblem) {
    struct Case {
        std::vector<std::string_view> Arguments;
        const char* Message;
    };
    const Case cases[] = {
        {{"--scans"}, "--scans needs a value"},
        {{"--scans", "abc"}, "--scans needs a whole number of 0 or more, not 'abc'"},
        {{"--scans", "-1"}, "--scans needs a whole number of 0 or more, not '-1'"},
        {{"--scans", "2.5"}, "--scans needs a whole number of 0 or more, not '2.5'"},
        {{"--seed", "-3"}, "--seed needs a whole number from 0 to 18446744073709551615, not '-3'"},
        {{"--seed", "18446744073709551616"},
         "--seed needs a whole number from 0 to 18446744073709551615, not "
         "'18446744073709551616'"},
        {{"--gs", "1,5"}, "--gs needs a number in C notation such as -4.2, not '1,5'"},
        {{"--gs", ""}, "--gs needs a number in C notation such as -4.2, not ''"},
        {{"--gi", "inf"}, "--gi needs a number in C notation such as -4.2, not 'inf'"},
        {{"--gi", "nan"}, "--gi needs a number in C notation such as -4.2, not 'nan'"},
        {{"--output", ""}, "--output needs a file name, not ''"},
        {{"--frobnicate"}, "unknown option '--frobnicate'"},
        {{"GA_out.txt"}, "unexpected argument 'GA_out.txt'"},
    };
    for (const Case& testCase : cases) {
        SCOPED_TRACE(testCase.Message);
        try {
            ParseGeneratorOptions(testCase.Arguments);
            ADD_FAILURE() << "no error raised";
        } catch (const OptionError& error) {
            EXPECT_STREQ(error.what(), testCase.Message);
        }
    }
}

}  // namespace
}  // namespace gatool
