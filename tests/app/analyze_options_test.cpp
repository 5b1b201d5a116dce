// Tests of the options of `gatool analyze`.
#include "app/analyze_options.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/app/usage_error_cases.h"
#include "tests/numtext/scoped_number_marks.h"

namespace gatool {
namespace {

AnalyzeOptions Parse(std::vector<std::string_view> arguments) {
    return ParseAnalyzeOptions(arguments);
}

TEST(ParseAnalyzeOptions, StartsAsTheWindowDoes) {
    const AnalyzeOptions options = Parse({"GA1.TXT"});
    EXPECT_EQ(options.GaFiles, std::vector<std::string>{"GA1.TXT"});
    EXPECT_EQ(options.Window, FitWindow::SevenPoint);
    EXPECT_EQ(options.Slits,
              (std::array<bool, SlitCount>{false, true, false, false, false, false}));
    EXPECT_FALSE(options.Manual);
    EXPECT_EQ(options.GsText, "1");
    EXPECT_EQ(options.GiText, "0");
    EXPECT_FALSE(options.DcfFile.has_value());
}

TEST(ParseAnalyzeOptions, ReadsEveryOption) {
    const AnalyzeOptions options =
        Parse({"GA1", "--dcf", "DCF1", "--fit", "5", "GA2", "--slits", "0,3,5", "--centre-mass",
               "--manual", "1.00333", "-0.33", "--json"});
    EXPECT_EQ(options.GaFiles, (std::vector<std::string>{"GA1", "GA2"}));
    EXPECT_EQ(options.DcfFile, "DCF1");
    EXPECT_EQ(options.Window, FitWindow::FivePoint);
    EXPECT_EQ(options.Slits, (std::array<bool, SlitCount>{true, false, false, true, false, true}));
    EXPECT_TRUE(options.UseCentreMass);
    EXPECT_TRUE(options.Manual);
    EXPECT_EQ(options.GsText, "1.00333");
    EXPECT_EQ(options.GiText, "-0.33");
    EXPECT_TRUE(options.Json);
    EXPECT_EQ(Parse({"GA1", "--slits", ""}).Slits, (std::array<bool, SlitCount>{}));
}

TEST(ParseAnalyzeOptions, TakesValuesAfterAnEqualsSignAndFilesAfterTwoDashes) {
    const AnalyzeOptions options =
        Parse({"--dcf=DCF=1", "--fit=5", "GA1", "--slits=0,3,5", "--manual=1.00333", "-0.33",
               "--csv", "--", "--json", "-GA2"});
    EXPECT_EQ(options.GaFiles, (std::vector<std::string>{"GA1", "--json", "-GA2"}));
    EXPECT_EQ(options.DcfFile, "DCF=1");
    EXPECT_EQ(options.Window, FitWindow::FivePoint);
    EXPECT_EQ(options.Slits, (std::array<bool, SlitCount>{true, false, false, true, false, true}));
    EXPECT_TRUE(options.Manual);
    EXPECT_EQ(options.GsText, "1.00333");
    EXPECT_EQ(options.GiText, "-0.33");
    EXPECT_TRUE(options.Csv);
    EXPECT_FALSE(options.Json);
    EXPECT_EQ(Parse({"GA1", "--slits="}).Slits, (std::array<bool, SlitCount>{}));
}

TEST(ParseAnalyzeOptions, ReadsTypedGsAndGiWithTheLocalesDecimalMark) {
    const ScopedNumberMarks marks(",", ".");
    const AnalyzeOptions options = Parse({"GA1", "--manual", "1,0012", "-4,2"});
    EXPECT_EQ(options.GsText, "1,0012");
    EXPECT_EQ(options.GiText, "-4,2");
    EXPECT_THROW(Parse({"GA1", "--manual", "1.0012", "0"}), UsageError);
}

TEST(ParseAnalyzeOptions, RefusesBadCommandLinesWithOneLine) {
    testing::ExpectUsageErrors(
        Parse,
        {
            {{}, "no GA file given"},
            {{"--json"}, "no GA file given"},
            {{"GA1", "--fit"}, "--fit needs a value: 5 or 7"},
            {{"GA1", "--fit", "6"}, "--fit takes 5 or 7, not \"6\""},
            {{"GA1", "--dcf"}, "--dcf needs a DCF file"},
            {{"GA1", "--manual", "1"}, "--manual needs two values: GS and GI"},
            {{"GA1", "--slits", "1,6"},
             "--slits takes slit numbers 0 to 5 separated by commas, not \"1,6\""},
            {{"GA1", "--slits", "1,,2"},
             "--slits takes slit numbers 0 to 5 separated by commas, not \"1,,2\""},
            {{"GA1", "--slits", "12"},
             "--slits takes slit numbers 0 to 5 separated by commas, not \"12\""},
            {{"GA1", "--fast"}, "unknown option \"--fast\""},
            {{"GA1", "--fast=1"}, "unknown option \"--fast\""},
            {{"GA1", "--fit="}, "--fit takes 5 or 7, not \"\""},
            {{"GA1", "--json=1"}, "--json takes no value"},
            {{"GA1", "--centre-mass=yes"}, "--centre-mass takes no value"},
            {{"GA1", "--=GA2"}, "-- takes no value"},
            {{"GA1", "--csv", "--json"}, "--json and --csv cannot be combined"},
            {{"GA1", "--manual=1"}, "--manual needs two values: GS and GI"},
            {{"GA1", "--manual", "1,5", "0"},
             "--manual GS: '1,5' is not a valid floating point value"},
            {{"GA1", "--manual", "1", ""}, "--manual GI: '' is not a valid floating point value"},
            {{"GA1", "--manual", "1", "--json"},
             "--manual GI: '--json' is not a valid floating point value"},
            {{"GA1", "--manual", "1e4000", "0"}, "--manual GS: '1e4000' is out of range"},
            {{"GA1", "--manual", "1", "-4e38"}, "--manual GI: '-4e38' is out of range"},
        });
}

}  // namespace
}  // namespace gatool
