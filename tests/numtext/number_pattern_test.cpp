// Tests of the reading of number patterns into sections and of what the scan of a section finds.
#include "numtext/number_pattern.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace gatool {
namespace {

TEST(ReadPatternSections, SplitsAtSemicolonsOutsideQuotesIntoAtMostThreeSections) {
    struct Case {
        std::string pattern;
        std::vector<std::string> sources;
    } const cases[] = {
        {"", {""}},
        {"0", {"0"}},
        {"0;", {"0", ""}},
        {"0;;z", {"0", "", "z"}},
        {"a;b;c;d", {"a", "b", "c"}},
        {"'a;b'0;x", {"'a;b'0", "x"}},
        {"\"a;b\"0;x", {"\"a;b\"0", "x"}},
        {"0'abc;x", {"0'abc;x"}},  // an unclosed quote runs to the end
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        const std::vector<PatternSection> sections = ReadPatternSections(c.pattern);
        std::vector<std::string> sources;
        for (const PatternSection& section : sections) {
            sources.emplace_back(section.Source);
        }
        EXPECT_EQ(sources, c.sources);
    }
}

TEST(ReadPatternSections, FindsPlaceholdersPointForcedPlacesAndFlags) {
    struct Case {
        std::string pattern;
        int placeholders, point, firstDigit, lastDigit;
        bool scientific, grouping;
    } const cases[] = {
        {"#,##0.00", 6, 4, 1, -2, false, true},
        {"0.#####", 6, 1, 1, 0, false, false},
        {"####", 4, 4, 0, 0, false, false},
        {"#.#0", 3, 1, 0, -2, false, false},   // first forced place after the point counts as 0
        {"00#", 3, 3, 3, 0, false, false},     // last forced place before the point counts as 0
        {"0.0.0", 3, 1, 1, -2, false, false},  // later points are ignored
        {"0000,", 4, 4, 4, 0, false, true},
        {"'0.,'#", 1, 1, 0, 0, false, false},  // quoted characters are text
        {"0.00E+00", 3, 1, 1, -2, true, false},
        {"0E5", 1, 1, 1, 0, false, false},  // "E" without a sign is text
        {"e-", 0, 0, 0, 0, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        const PatternSection section = ReadPatternSections(c.pattern).front();
        EXPECT_EQ(section.PlaceholderCount, c.placeholders);
        EXPECT_EQ(section.PointPosition, c.point);
        EXPECT_EQ(section.FirstDigit, c.firstDigit);
        EXPECT_EQ(section.LastDigit, c.lastDigit);
        EXPECT_EQ(section.Scientific, c.scientific);
        EXPECT_EQ(section.Grouping, c.grouping);
    }
}

TEST(ReadPatternSections, ExponentMarkerTakesAllItsZerosButCountsAtMostFour) {
    const PatternSection section = ReadPatternSections("0E+0000000#").front();
    ASSERT_EQ(section.Tokens.size(), 3u);
    const PatternToken& marker = section.Tokens[1];
    EXPECT_EQ(marker.Kind, PatternTokenKind::ExponentMarker);
    EXPECT_EQ(marker.Text, "E");
    EXPECT_TRUE(marker.ShowsPlusSign);
    EXPECT_EQ(marker.MinExponentDigits, 4);
    EXPECT_EQ(section.Tokens[2].Kind, PatternTokenKind::DigitPlaceholder);
    EXPECT_EQ(section.PlaceholderCount, 2);
}

}  // namespace
}  // namespace gatool
