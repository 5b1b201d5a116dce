// \brief Decimal expansion of extended values; see decimal_expansion.h.
#include "numtext/decimal_expansion.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace gatool {

namespace {

static_assert(std::numeric_limits<Extended>::digits == 64 &&
                  std::numeric_limits<Extended>::max_exponent == 16384,
              "Extended must be the x87 80-bit format");

constexpr int ExpansionDigits = 18;

enum class ValueKind { NoDigits, Finite, Infinity, NaN };

// Classifies by the bits of the 80-bit format: a 64-bit significand with an explicit integer bit,
// then 15 exponent bits and the sign.
ValueKind KindOf(Extended value) {
    std::array<unsigned char, sizeof(Extended)> bytes{};
    std::memcpy(bytes.data(), &value, sizeof value);
    std::uint64_t significand = 0;
    std::memcpy(&significand, bytes.data(), sizeof significand);
    const unsigned exponentField = (bytes[9] & 0x7Fu) << 8 | bytes[8];
    const bool integerBit = (significand >> 63) != 0;
    if (exponentField == 0) {
        return ValueKind::NoDigits;
    }
    if (exponentField == 0x7FFF) {
        return integerBit && (significand << 1) == 0 ? ValueKind::Infinity : ValueKind::NaN;
    }
    return integerBit ? ValueKind::Finite : ValueKind::NaN;
}

// `magnitude` in scientific form with 18 significant digits, from its exact binary value, rounding
// to nearest with ties to even, independent of the locale. Most values the tool shows are singles
// or doubles widened: those go through the double overload, which gives the same digits for the
// same exact value many times faster than the extended one.
std::to_chars_result ScientificText(std::array<char, 32>& text, Extended magnitude) {
    constexpr auto DoubleMax = static_cast<Extended>(std::numeric_limits<double>::max());
    constexpr auto DoubleMin = static_cast<Extended>(std::numeric_limits<double>::min());
    const bool isDouble = magnitude >= DoubleMin && magnitude <= DoubleMax &&
                          static_cast<Extended>(static_cast<double>(magnitude)) == magnitude;
    char* const end = text.data() + text.size();
    return isDouble ? std::to_chars(text.data(), end, static_cast<double>(magnitude),
                                    std::chars_format::scientific, ExpansionDigits - 1)
                    : std::to_chars(text.data(), end, magnitude, std::chars_format::scientific,
                                    ExpansionDigits - 1);
}

// The magnitude to 18 significant digits.
DecimalDigits EighteenDigits(Extended magnitude) {
    // "d.ddddddddddddddddde+dddd"
    std::array<char, 32> text{};
    const std::to_chars_result written = ScientificText(text, magnitude);
    DecimalDigits expansion;
    expansion.Digits.reserve(ExpansionDigits);
    expansion.Digits += text[0];
    expansion.Digits.append(text.data() + 2, ExpansionDigits - 1);
    const char* exponentText = text.data() + ExpansionDigits + 2;  // after "e"
    if (*exponentText == '+') {
        ++exponentText;
    }
    int scientificExponent = 0;
    std::from_chars(exponentText, written.ptr, scientificExponent);
    // d.ddd x 10^n is 0.dddd x 10^(n+1)
    expansion.Exponent = scientificExponent + 1;
    return expansion;
}

// Rounds half away from zero, keeping `kept` digits (kept < digits.size()); a carry out of the
// first digit leaves the single digit "1" and raises the exponent.
void RoundDigits(DecimalDigits& expansion, std::size_t kept) {
    std::string& digits = expansion.Digits;
    const bool roundUp = digits[kept] >= '5';
    digits.resize(kept);
    if (!roundUp) {
        return;
    }
    // The nines that carry become trailing zeros, which the expansion drops anyway.
    std::size_t pos = kept;
    while (pos > 0 && digits[pos - 1] == '9') {
        --pos;
    }
    digits.resize(pos);
    if (digits.empty()) {
        digits.push_back('1');
        ++expansion.Exponent;
    } else {
        ++digits.back();
    }
}

}  // namespace

DecimalDigits DecimalExpansion(Extended value, int precision, int decimals) {
    switch (KindOf(value)) {
        case ValueKind::NoDigits:
            return {};
        case ValueKind::Infinity:
            return {InfinityExponent, std::signbit(value), {}};
        case ValueKind::NaN:
            return {NanExponent, false, {}};
        case ValueKind::Finite:
            break;
    }
    DecimalDigits expansion = EighteenDigits(std::fabs(value));
    expansion.Negative = std::signbit(value);
    const int kept = expansion.Exponent + decimals;
    if (kept < 0) {
        // Wholly beyond the requested decimals.
        return {};
    }
    const int limited = std::min({kept, precision, ExpansionDigits});
    if (limited < ExpansionDigits) {
        RoundDigits(expansion, static_cast<std::size_t>(limited));
    }
    const std::size_t lastNonZero = expansion.Digits.find_last_not_of('0');
    expansion.Digits.resize(lastNonZero == std::string::npos ? 0 : lastNonZero + 1);
    if (expansion.Digits.empty()) {
        expansion.Negative = false;
    }
    return expansion;
}

}  // namespace gatool
