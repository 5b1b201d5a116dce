// \brief Floating-point arithmetic that reports faults instead of producing infinities and NaNs.
//
// The analysis computes in extended precision (long double is the x87 80-bit format on x86-64, the
// precision the instrument's original tools computed in) and narrows to double or single only where
// a value is stored. Faults are detected at the three places they can arise from finite inputs:
// a division, the exponential, and a narrowing. Underflow and rounding pass silently.
//
// The checks are inline, since the reader runs them for every count; raising is out of line.
#pragma once

#include <cmath>

namespace gatool {

using Extended = long double;

[[noreturn]] void RaiseInvalidOp();
[[noreturn]] void RaiseZeroDivide();
[[noreturn]] void RaiseOverflow();

// a / b; x / 0 raises EZeroDivide, 0 / 0 raises EInvalidOp, an infinite quotient EOverflow.
inline Extended Divide(Extended a, Extended b) {
    if (b == 0) {
        if (a == 0 || std::isnan(a)) {
            RaiseInvalidOp();
        }
        RaiseZeroDivide();
    }
    const Extended quotient = a / b;
    if (std::isnan(quotient)) {
        RaiseInvalidOp();
    }
    if (std::isinf(quotient)) {
        RaiseOverflow();
    }
    return quotient;
}

// e^x in double precision; a result that is not finite raises EOverflow.
inline double CheckedExp(double x) {
    if (std::isnan(x)) {
        RaiseInvalidOp();
    }
    const double result = std::exp(x);
    if (!std::isfinite(result)) {
        RaiseOverflow();
    }
    return result;
}

// Narrowing to a storage type; a NaN raises EInvalidOp, a value beyond the type's range (after
// rounding) or an infinity raises EOverflow.
template <typename Narrow, typename Wide>
Narrow Narrowed(Wide value) {
    if (std::isnan(value)) {
        RaiseInvalidOp();
    }
    const auto narrowed = static_cast<Narrow>(value);
    if (std::isinf(narrowed)) {
        RaiseOverflow();
    }
    return narrowed;
}

// Wide is Extended or double; the hot paths compute in double where that is precise enough.
template <typename Wide>
float ToSingle(Wide value) {
    return Narrowed<float>(value);
}

template <typename Wide>
double ToDouble(Wide value) {
    return Narrowed<double>(value);
}

}  // namespace gatool
