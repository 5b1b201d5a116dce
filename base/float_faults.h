// \brief Floating-point arithmetic that reports faults instead of producing infinities and NaNs.
//
// The analysis computes in extended precision (long double is the x87 80-bit format on x86-64, the
// precision the instrument's original tools computed in) and narrows to double or single only where
// a value is stored. Faults are detected at the three places they can arise from finite inputs:
// a division, the exponential, and a narrowing. Underflow and rounding pass silently.
#pragma once

namespace gatool {

using Extended = long double;

// a / b; x / 0 raises EZeroDivide, 0 / 0 raises EInvalidOp.
Extended Divide(Extended a, Extended b);

// e^x in double precision; a result that is not finite raises EOverflow.
double CheckedExp(double x);

// Narrowing to the storage types; a NaN raises EInvalidOp, a value beyond the type's range (after
// rounding) or an infinity raises EOverflow.
float ToSingle(Extended value);
double ToDouble(Extended value);

}  // namespace gatool
