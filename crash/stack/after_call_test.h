// \brief The after-call test: whether the bytes in front of a value read from the stack can be a
// call instruction that ends there, so that the value may be a return address. A cheap test on
// bytes; the procedure analysis verifies the candidates that pass it.
#pragma once

#include <cstdint>

namespace kestrix {

// The 8 bytes in front of value can be read, and a call ends at value: E8 with a 32-bit
// displacement at value - 5, or FF with an indirect call's register field (2, or 3 for a far call)
// at value - 2, - 3, - 4, - 6 or - 7 (all the lengths of an x86-64 indirect call counted from its
// FF byte; a REX prefix stands in front of it).
bool PassesAfterCallTest(std::uintptr_t value);

}  // namespace kestrix
