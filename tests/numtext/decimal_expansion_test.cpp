// Tests of the decimal expansion that all number texts start from: the special values, the
// 18-digit expansion (against exact big-integer arithmetic) and the rounding to the requested
// digits.
#include "numtext/decimal_expansion.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "exact_decimal.h"

namespace gatool {
namespace {

constexpr int AllDecimals = 9999;

std::string ValueText(Extended value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.21Lg", value);
    return text;
}

// An 80-bit pattern: the 64-bit significand (with its explicit integer bit) and the sign with the
// 15-bit exponent field.
Extended FromBits(std::uint64_t significand, std::uint16_t signAndExponent) {
    Extended value = 0;
    std::memcpy(&value, &significand, sizeof significand);
    std::memcpy(reinterpret_cast<unsigned char*>(&value) + sizeof significand, &signAndExponent,
                sizeof signAndExponent);
    return value;
}

struct ExpansionCase {
    const char* what;
    Extended value;
    int precision;
    int decimals;
    int exponent;
    bool negative;
    std::string digits;
};

void ExpectExpansions(std::initializer_list<ExpansionCase> cases) {
    for (const ExpansionCase& c : cases) {
        SCOPED_TRACE(std::string(c.what) + ": " + ValueText(c.value) +
                     " P=" + std::to_string(c.precision) + " D=" + std::to_string(c.decimals));
        const DecimalDigits expansion = DecimalExpansion(c.value, c.precision, c.decimals);
        EXPECT_EQ(expansion.Digits, c.digits);
        EXPECT_EQ(expansion.Exponent, c.exponent);
        EXPECT_EQ(expansion.Negative, c.negative);
    }
}

TEST(DecimalExpansion, SpecialValuesFollowTheExponentField) {
    const Extended infinity = std::numeric_limits<Extended>::infinity();
    const Extended nan = std::numeric_limits<Extended>::quiet_NaN();
    const Extended denormal = std::numeric_limits<Extended>::denorm_min();
    ExpectExpansions({
        {"zero", 0.0L, 18, 2, 0, false, ""},
        {"negative zero", -0.0L, 18, 2, 0, false, ""},
        {"denormal", denormal * 12345, 18, AllDecimals, 0, false, ""},
        {"negative denormal", -denormal, 18, AllDecimals, 0, false, ""},
        {"infinity", infinity, 18, 2, InfinityExponent, false, ""},
        {"negative infinity", -infinity, 18, 2, InfinityExponent, true, ""},
        {"NaN", nan, 18, 2, NanExponent, false, ""},
        {"negative NaN", -nan, 18, 2, NanExponent, false, ""},
        // The x87 format's undefined patterns are invalid operands, not numbers.
        {"unnormal", FromBits(0x4000000000000000, 0x3FFF), 18, 2, NanExponent, false, ""},
        {"pseudo-infinity", FromBits(0, 0x7FFF), 18, 2, NanExponent, false, ""},
        {"pseudo-denormal", FromBits(0x8000000000000000, 0x0000), 18, 2, 0, false, ""},
        {"smallest normal", std::numeric_limits<Extended>::min(), 18, AllDecimals, -4931, false,
         "336210314311209351"},
    });
}

TEST(DecimalExpansion, EighteenDigitsRoundTiesToEven) {
    // 10^18 + n holds 19 digits exactly; the 19th decides, and a 5 rounds to the even neighbour.
    ExpectExpansions({
        {"tie to even, down", 1e18L + 5, 18, AllDecimals, 19, false, "1"},
        {"tie to even, up", 1e18L + 15, 18, AllDecimals, 19, false, "100000000000000002"},
        {"tie to even, stays", 1e18L + 25, 18, AllDecimals, 19, false, "100000000000000002"},
        {"above the tie", 1e18L + 26, 18, AllDecimals, 19, false, "100000000000000003"},
        {"below the tie", -(1e18L + 34), 18, AllDecimals, 19, true, "100000000000000003"},
        {"tie carries to a new digit", 999999999999999999.5L, 18, AllDecimals, 19, false, "1"},
    });
}

TEST(DecimalExpansion, RoundsHalfAwayFromZeroOnTheEighteenDigits) {
    ExpectExpansions({
        {"exact half", 0.125, 18, 2, 0, false, "13"},
        {"negative exact half", -0.125, 18, 2, 0, true, "13"},
        {"double 2.675 lies below", 2.675, 18, 2, 1, false, "267"},
        // 0.125 - 2^-67 = 0.1249999999999999999932...: its 18 digits round up to 0.125, which
        // then rounds half up, although the exact value lies below the half.
        {"double rounding", std::nextafter(0.125L, 0.0L), 18, 2, 0, false, "13"},
        {"half at the first digit", 0.5L, 18, 0, 1, false, "1"},
        {"carry out of the first digit", 0.9996L, 18, 3, 1, false, "1"},
        {"carry through nines", 1.995L, 18, 2, 1, false, "2"},
        {"below half", 1.994L, 18, 2, 1, false, "199"},
        {"1234.5678 at three digits", 1234.5678L, 3, AllDecimals, 4, false, "123"},
        {"1250 at two digits", 1250.0L, 2, AllDecimals, 4, false, "13"},
        {"precision zero", 54321.0L, 0, AllDecimals, 6, false, "1"},
        {"nineteen digits at precision 17", 1234567890123456789.0L, 17, AllDecimals, 19, false,
         "12345678901234568"},
    });
}

TEST(DecimalExpansion, ValueBeyondTheDecimalsHasExponentZeroButRoundedAwayValueKeepsItsExponent) {
    ExpectExpansions({
        {"first digit beyond the decimals", 0.0004, 18, 2, 0, false, ""},
        {"first digit at the rounding place", 0.004, 18, 2, -2, false, ""},
        {"negative, rounded away", -0.004, 18, 2, -2, false, ""},
        {"rounded up into the decimals", -0.005, 18, 2, -1, true, "1"},
        {"precision zero, rounded away", 12345.0L, 0, AllDecimals, 5, false, ""},
    });
}

// The exact decimal value rounded to 18 digits, ties to even, is what the expansion must give.
void ExpectAgreesWithExactValue(Extended value) {
    const ExactDecimal expected = RoundedToSignificantDigits(ExactDecimalOf(value), 18);
    const DecimalDigits expansion = DecimalExpansion(value, 18, AllDecimals);
    EXPECT_EQ(expansion.Digits, expected.Digits) << ValueText(value);
    EXPECT_EQ(expansion.Exponent, expected.Exponent) << ValueText(value);
    EXPECT_EQ(expansion.Negative, std::signbit(value)) << ValueText(value);
}

TEST(DecimalExpansion, EighteenDigitsAgreeWithExactArithmeticForWidenedDoublesAndSingles) {
    std::mt19937_64 random(20240611);
    for (int i = 0; i < 4000 && !HasFailure(); ++i) {
        const auto asDouble = std::bit_cast<double>(random());
        if (std::isfinite(asDouble) && asDouble != 0) {
            ExpectAgreesWithExactValue(asDouble);  // double denormals are normal in extended
        }
        const auto asSingle = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
        if (std::isfinite(asSingle) && asSingle != 0) {
            ExpectAgreesWithExactValue(asSingle);
        }
    }
}

TEST(DecimalExpansion, EighteenDigitsAgreeWithExactArithmeticOverTheExtendedRange) {
    for (const Extended value :
         {std::numeric_limits<Extended>::max(), std::numeric_limits<Extended>::min(), 1e4931L,
          1e-4931L, std::nextafter(std::numeric_limits<Extended>::min(), 1.0L)}) {
        ExpectAgreesWithExactValue(value);
    }
    std::mt19937_64 random(4932);
    std::uniform_int_distribution<int> exponentField(1, 0x7FFE);
    for (int i = 0; i < 200 && !HasFailure(); ++i) {
        const std::uint64_t significand = random() | 0x8000000000000000;
        const auto signAndExponent =
            static_cast<std::uint16_t>(exponentField(random) | (i % 2 == 0 ? 0x8000 : 0));
        ExpectAgreesWithExactValue(FromBits(significand, signAndExponent));
    }
}

}  // namespace
}  // namespace gatool
