// \brief The "stack dump" section: the memory from the failure's stack pointer upwards, as
// hexadecimal bytes and characters, read through the guarded reads.
#pragma once

#include <cstdint>
#include <string>

namespace kestrix {

inline constexpr std::size_t StackDumpLines = 20;
inline constexpr std::size_t StackDumpLineBytes = 16;

// Up to 20 lines of 16 bytes from stackPointer to the end of the memory region that holds it:
// the address, two blanks, each byte as two digits and a blank with "- " before the ninth, one
// blank, and the bytes as characters ("." outside 33 to 126). Bytes beyond the region, or that
// cannot be read, are blanks. A stack pointer outside readable memory gives
// ">> stack not accessible".
std::string GetStackDump(std::uintptr_t stackPointer);

}  // namespace kestrix
