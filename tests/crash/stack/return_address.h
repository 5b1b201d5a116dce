// A test helper: a real call whose return address the tests take as a value that the stack walker
// must recognise.
#pragma once

#include <cstdint>

namespace kestrix {

// Where the call of it returns to in its caller.
[[gnu::noinline]] inline std::uintptr_t ReturnAddress() {
    asm volatile("");
    return reinterpret_cast<std::uintptr_t>(__builtin_return_address(0));
}

}  // namespace kestrix
