// \brief The decimal digits of an extended value, rounded for display: the common first step of
// the conversions of numbers to text.
#pragma once

#include <string>

#include "base/float_faults.h"

namespace gatool {

// A value as 0.d1d2d3... x 10^Exponent. Digits holds 0 to 18 characters "0"-"9" without trailing
// zeros; no digits means the value rounded to zero. An infinity has InfinityExponent (and its
// sign in Negative), a NaN NanExponent.
struct DecimalDigits {
    int Exponent = 0;
    bool Negative = false;
    std::string Digits;
};

inline constexpr int InfinityExponent = 32767;
inline constexpr int NanExponent = -32768;

// Expands value to at most `precision` significant digits (precision >= 0) and at most `decimals`
// digits after the decimal point.
//
// The magnitude is first written to 18 significant digits, rounded to nearest with ties to even
// from the exact binary value; the result is then rounded half away from zero on those 18 digits
// (so 2.675, stored as 2.67499999..., gives 2.67 at two decimals, and 0.125 gives 0.13). Zero and
// the denormal numbers give no digits and Exponent 0. A value that rounds away entirely keeps the
// exponent of its first digit, except when it lies wholly beyond the requested decimals, which
// gives Exponent 0.
//
// The bit patterns that the x87 format does not define as numbers (unnormals, pseudo-infinities,
// pseudo-NaNs) are invalid operands to the FPU and expand as NaN.
DecimalDigits DecimalExpansion(Extended value, int precision, int decimals);

}  // namespace gatool
