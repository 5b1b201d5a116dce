// \brief Test helper: the exact decimal value of an extended number by big-integer arithmetic,
// independent of the C library's formatting, to check the library's rounded expansions against.
#pragma once

#include <string>

#include "base/float_faults.h"

namespace gatool {

// value = 0.Digits x 10^Exponent, Digits without leading or trailing zeros.
struct ExactDecimal {
    std::string Digits;
    int Exponent = 0;
};

// The exact decimal value of the magnitude of a finite, normal extended number.
ExactDecimal ExactDecimalOf(Extended value);

// Rounds to `significant` digits, to nearest with ties to even.
ExactDecimal RoundedToSignificantDigits(ExactDecimal exact, std::size_t significant);

}  // namespace gatool
