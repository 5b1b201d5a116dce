// \brief The exception address of a C++ throw: the start of the call instruction in the raising
// code that entered the throw path, found by decoding in front of its return address.
#pragma once

#include <cstdint>

namespace kestrix {

// The start of the call instruction that ends at `returnAddress`; the return address itself when
// no call ends there (code that cannot be read, or a return address that is not one).
std::uintptr_t CallInstructionBefore(std::uintptr_t returnAddress);

}  // namespace kestrix
