// Tests of number text by pattern: the reference texts, sections, quotes, placeholders, grouping,
// scientific notation, the marks in use and the pattern length limit.
#include "numtext/float_to_pattern_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <limits>
#include <string>

#include "base/exceptions.h"
#include "scoped_number_marks.h"

namespace gatool {
namespace {

struct PatternCase {
    std::string pattern;
    Extended value;
    std::string text;
};

class FloatToPatternTextTest : public ::testing::Test {
  protected:
    static void ExpectTexts(std::initializer_list<PatternCase> cases) {
        for (const PatternCase& c : cases) {
            char value[64];
            std::snprintf(value, sizeof value, "%.21Lg", c.value);
            SCOPED_TRACE("pattern \"" + c.pattern + "\", value " + value);
            EXPECT_EQ(FloatToPatternText(c.pattern, c.value), c.text);
        }
    }

    ScopedNumberMarks m_marks{".", ","};
};

constexpr Extended Infinity = std::numeric_limits<Extended>::infinity();
constexpr Extended NaN = std::numeric_limits<Extended>::quiet_NaN();

TEST_F(FloatToPatternTextTest, GivesTheReferenceTexts) {
    ExpectTexts({
        {"0.#####", 1, "1"},
        {"0.#####", 1.234567, "1.23457"},
        {"0.#####", -0.5, "-0.5"},
        {"0.#####", 0.000004, "0.00000"},
        {"0.#####", 0.000005, "0.00001"},
        {"##0.##", 0, "0"},
        {"##0.##", 0.0004, "0"},
        {"##0.##", 0.004, "0.00"},
        {"##0.##", 0.005, "0.01"},
        {"##0.##", -0.001, "0.00"},
        {"##0.##", 2.675, "2.67"},
        {"##0.##", 0.125, "0.13"},
        {"##0.##", -1234.5678, "-1234.57"},
        {"##0.##", 1e18, "1E18"},
        {"##0.0%", -12.345, "-12.3%"},
        {"##0.0%", -0.049, "0.0%"},
        {"##0.0%", -0.05, "-0.1%"},
        {"####", 0, ""},
        {"####", 0.5, "1"},
        {"####", -2.5, "-3"},
        {"####", 3449.5, "3450"},
        {"0", 2.5, "3"},
        {"0", -0.4, "0"},
        {"###0.###", 3450.12345, "3450.123"},
        {"#,##0.00", 1234567.891, "1,234,567.89"},
        {"#,##0.00", -0.004, "0.00"},
        {"0.00E+00", 12345, "1.23E+04"},
        {"#,##0.00", NaN, "NAN"},
        {"#,##0.00", -Infinity, "-INF"},
    });
}

TEST_F(FloatToPatternTextTest, ValueRoundedAwayKeepsItsPlaceWhileValueBeyondTheDecimalsDoesNot) {
    // Rounded away at the last decimal, the value still knows where its first digit was, so the
    // placeholders from there on show zeros; a value wholly beyond the decimals counts as zero.
    ExpectTexts({
        {"##0.##", 0.004, "0.00"},
        {"##0.##", 0.0004, "0"},
        {"#.###", 0.0004, ".000"},
        {"#.###", 0.00004, ""},
    });
}

TEST_F(FloatToPatternTextTest, ChoosesTheSectionBySignAndFallsBackToTheFirst) {
    ExpectTexts({
        {"0.00;(0.00);zero", 1.5, "1.50"},
        {"0.00;(0.00);zero", -1.5, "(1.50)"},
        {"0.00;(0.00);zero", 0, "zero"},
        {"0.00;(0.00);zero", -0.0, "zero"},
        {"0.00;(0.00);zero", 0.001, "zero"},
        {"0.00;(0.00);zero", -0.001, "zero"},
        {"0.00;neg", -2, "neg"},
        {"0.00;neg", -0.0, "0.00"},
        {"0.00;", -2, "-2.00"},
        {"0.00;;", 0, "0.00"},
        {"a;b;c;d", -1, "b"},
        {"a;b;c;d", 0, "c"},
    });
}

TEST_F(FloatToPatternTextTest, EmptySectionsGiveTheGeneralText) {
    ExpectTexts({
        {"", 1234.5, "1234.5"},
        {";0.00", 1.5, "1.5"},
        {";0.00", -1.5, "1.50"},
        // Rounds to zero in the second section; neither the zero section nor the first exists.
        {";0.00", -0.001, "-0.001"},
    });
}

TEST_F(FloatToPatternTextTest, ZeroSectionShowsTheExpansionOfTheSectionThatRoundedToZero) {
    // 0.006 rounds to zero in "0"; the zero section lays out that empty expansion, not 0.01.
    ExpectTexts({{"0;;0.00", 0.006, "0.00"}});
}

TEST_F(FloatToPatternTextTest, OutputsQuotedAndOtherTextAsItStands) {
    ExpectTexts({
        {"'#'0", 5, "#5"},
        {"\"a;b\"0;x", 7, "a;b7"},
        {"\"a;b\"0;x", -7, "x"},
        {"0' E+0'", 5, "5 E+0"},
        {"0\"'\"", 1, "1'"},
        {"0'abc;x", -1, "-1abc;x"},
        {"0 Euro", 5, "5 Euro"},
        {"0E", 5, "5E"},
        {"0%", 0.5, "1%"},
        {"[0.0]", 1.25, "[1.3]"},
        {"0.0.0", 1.25, "1.25"},
    });
}

TEST_F(FloatToPatternTextTest, ForcedPlaceholdersReachFromTheFirstToTheLastZero) {
    ExpectTexts({
        {"00.00", 1.5, "01.50"},
        {"#.##", 0.5, ".5"},
        {"00#", 5, "005"},
        {"00#", 50, "050"},
        {"#0.0#", 3.14159, "3.14"},
        {"#0.0#", 3.1, "3.1"},
        {"#0.0#", 0, "0.0"},
        {"#.#0", 0.001, ".00"},
    });
}

TEST_F(FloatToPatternTextTest, WidensTheIntegerPartUpTo18Digits) {
    ExpectTexts({
        {"0", 123456, "123456"},
        {"#", 1e17, "100000000000000000"},
        {"0", 999999999999999999.0L, "999999999999999999"},
        {"0.00", 123456789012345678.0L, "123456789012345678.00"},
        // Rounding carries to 10^18, which no longer fits.
        {"0", 999999999999999999.5L, "1E18"},
    });
}

TEST_F(FloatToPatternTextTest, GroupsTheIntegerDigitsInThrees) {
    ExpectTexts({
        {"#,##0", 1234567, "1,234,567"},
        {"0000,", 1234567, "1,234,567"},
        {"#,0", 123, "123"},
        {"0,000,000", 12, "0,000,012"},
        {"#,##0.00", -1234.5, "-1,234.50"},
        {"#,##0.000000", 0.1234567, "0.123457"},
        {"#,##0", 1e17, "100,000,000,000,000,000"},
    });
}

TEST_F(FloatToPatternTextTest, WritesScientificNotation) {
    ExpectTexts({
        {"0.00E+00", 0.00012345, "1.23E-04"},
        {"0.00E-00", 0.00012345, "1.23E-04"},
        {"0.00e-00", 12345, "1.23e04"},
        {"0.00E+00", -12345, "-1.23E+04"},
        {"0.00E+00", 9.999, "1.00E+01"},
        {"0.00E+00", 0, "0.00E+00"},
        {"0.00E+00", 1e300, "1.00E+300"},
        {"0.00E+00", 1e-4000L, "1.00E-4000"},
        {"0.###E+0", 1.5, "1.5E+0"},
        {"##0.0E+0", 12345, "123.5E+2"},
        {"0E+0000000", 12345, "1E+0004"},
        {"0.00E+00", Infinity, "INF"},
        // Without placeholders the value keeps no digit: only a first digit of 5 or more rounds up.
        {"E+0", 12345, "E+0"},
        {"E+0", 54321, "E+6"},
    });
}

TEST_F(FloatToPatternTextTest, UsesTheMarksInForce) {
    {
        const ScopedNumberMarks comma(",", ".");
        ExpectTexts({
            {"#,##0.00", 1234567.891, "1.234.567,89"},
            {"0.00E+00", 12345, "1,23E+04"},
            {"", 0.5, "0,5"},
        });
    }
    {
        const ScopedNumberMarks narrowSpace(",", "\u202f");
        ExpectTexts({{"#,##0.00", 1234567.891, "1\u202f234\u202f567,89"}});
    }
    {
        const ScopedNumberMarks arabic("\u066b", "\u066c");
        ExpectTexts({{"#,##0.0", 1234.5, "1\u066c234\u066b5"}});
    }
}

TEST_F(FloatToPatternTextTest, RejectsPatternsLongerThan224Characters) {
    EXPECT_EQ(FloatToPatternText(std::string(MaxPatternLength, '#'), 5), "5");
    for (const Extended value : {Extended{5}, NaN}) {
        try {
            FloatToPatternText(std::string(MaxPatternLength + 1, '#'), value);
            ADD_FAILURE() << "no error";
        } catch (const EConvertError& error) {
            EXPECT_STREQ(error.what(), "Format string too long");
        }
    }
}

}  // namespace
}  // namespace gatool
