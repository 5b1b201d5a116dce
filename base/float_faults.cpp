// \brief Fault-checking arithmetic helpers; see float_faults.h.
#include "base/float_faults.h"

#include <cmath>

#include "base/exceptions.h"

namespace gatool {

namespace {

template <typename Narrow>
Narrow Narrowed(Extended value) {
    if (std::isnan(value)) {
        throw EInvalidOp();
    }
    const auto narrowed = static_cast<Narrow>(value);
    if (std::isinf(narrowed)) {
        throw EOverflow();
    }
    return narrowed;
}

}  // namespace

Extended Divide(Extended a, Extended b) {
    if (b == 0) {
        if (a == 0 || std::isnan(a)) {
            throw EInvalidOp();
        }
        throw EZeroDivide();
    }
    const Extended quotient = a / b;
    if (std::isnan(quotient)) {
        throw EInvalidOp();
    }
    if (std::isinf(quotient)) {
        throw EOverflow();
    }
    return quotient;
}

double CheckedExp(double x) {
    if (std::isnan(x)) {
        throw EInvalidOp();
    }
    const double result = std::exp(x);
    if (!std::isfinite(result)) {
        throw EOverflow();
    }
    return result;
}

float ToSingle(Extended value) {
    return Narrowed<float>(value);
}

double ToDouble(Extended value) {
    return Narrowed<double>(value);
}

}  // namespace gatool
