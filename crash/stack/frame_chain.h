// \brief The frame chain: the return-address slots found by following saved frame pointers, for
// code that keeps them. Each frame holds the caller's frame pointer at its frame pointer and the
// return address right above it.
#pragma once

#include <cstdint>
#include <vector>

namespace kestrix {

inline constexpr std::uintptr_t SlotSize = sizeof(std::uintptr_t);

// The addresses of the return-address slots (frame pointer + 8), from the given frame pointer
// outwards, as long as each next frame pointer is higher than the current one and its slot lies
// below stackTop; only slots at or above stackBottom count. Read through the guarded reads.
std::vector<std::uintptr_t> FrameChainSlots(std::uintptr_t framePointer,
                                            std::uintptr_t stackBottom,
                                            std::uintptr_t stackTop);

}  // namespace kestrix
