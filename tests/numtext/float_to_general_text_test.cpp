// Tests of the general number text: up to 15 significant digits, positional between 10^-4 and
// 10^15, scientific outside.
#include "numtext/float_to_general_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <limits>
#include <string>

#include "scoped_number_marks.h"

namespace gatool {
namespace {

struct GeneralCase {
    Extended value;
    std::string text;
};

class FloatToGeneralTextTest : public ::testing::Test {
  protected:
    static void ExpectTexts(std::initializer_list<GeneralCase> cases) {
        for (const GeneralCase& c : cases) {
            char value[64];
            std::snprintf(value, sizeof value, "%.21Lg", c.value);
            SCOPED_TRACE(value);
            EXPECT_EQ(FloatToGeneralText(c.value), c.text);
        }
    }

    ScopedNumberMarks m_marks{".", ","};
};

TEST_F(FloatToGeneralTextTest, GivesTheReferenceTexts) {
    ExpectTexts({
        {0, "0"},
        {1.0L / 3, "0.333333333333333"},
        {1e15, "1E15"},
        {1e14, "100000000000000"},
        {1e-4, "0.0001"},
        {1e-5, "1E-5"},
        {0.1f, "0.100000001490116"},
        {1234.5, "1234.5"},
    });
}

TEST_F(FloatToGeneralTextTest, RoundsTo15SignificantDigits) {
    ExpectTexts({
        {2.0L / 3, "0.666666666666667"},
        {-2.0L / 3, "-0.666666666666667"},
        {0.1, "0.1"},
        {123456789012345678.0L, "1.23456789012346E17"},
        {999999999999999.9L, "1E15"},
        {-1.5e-7, "-1.5E-7"},
        {1e100, "1E100"},
        {0.00012345, "0.00012345"},
        {std::numeric_limits<Extended>::max(), "1.18973149535723E4932"},
        {std::numeric_limits<Extended>::min(), "3.36210314311209E-4932"},
    });
}

TEST_F(FloatToGeneralTextTest, NamesSpecialValuesAndDropsTheSignOfZero) {
    const Extended infinity = std::numeric_limits<Extended>::infinity();
    ExpectTexts({
        {infinity, "INF"},
        {-infinity, "-INF"},
        {std::numeric_limits<Extended>::quiet_NaN(), "NAN"},
        {-std::numeric_limits<Extended>::quiet_NaN(), "NAN"},
        {-0.0, "0"},
        {std::numeric_limits<Extended>::denorm_min(), "0"},
    });
}

TEST_F(FloatToGeneralTextTest, UsesTheDecimalMarkInForce) {
    const ScopedNumberMarks comma(",", ".");
    ExpectTexts({
        {1234.5, "1234,5"},
        {1e14, "100000000000000"},
        {-2.5e-9, "-2,5E-9"},
    });
}

}  // namespace
}  // namespace gatool
