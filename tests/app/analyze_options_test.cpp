// Tests of the options of `gatool analyze`.
#include "app/analyze_options.h"

#include <gtest/gtest.h>

#include <vector>

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

TEST(ParseAnalyzeOptions, RefusesBadCommandLinesWithOneLine) {
    struct Case {
        std::vector<std::string_view> arguments;
        const char* message;
    } const cases[] = {
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
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        try {
            Parse(c.arguments);
            ADD_FAILURE() << "no error";
        } catch (const UsageError& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
    }
}

}  // namespace
}  // namespace gatool
