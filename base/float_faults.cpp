// \brief Raising the floating-point faults; see float_faults.h.
#include "base/float_faults.h"

#include "base/exceptions.h"

namespace gatool {

void RaiseInvalidOp() {
    throw EInvalidOp();
}

void RaiseZeroDivide() {
    throw EZeroDivide();
}

void RaiseOverflow() {
    throw EOverflow();
}

}  // namespace gatool
