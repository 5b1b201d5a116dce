// \brief PrepareStackTrace: the raise-time capture of a stack. At a throw the stack still holds the
// frames that the unwinding will discard, so the possible return addresses are kept at once; the
// walker later takes them as its candidates, the frame-chain ones as anchors.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace kestrix {

struct TPreStackItem {
    std::uint8_t FrameChainSlot = 0;  // 1: read from a slot of the frame chain
    std::uintptr_t Address = 0;
};
using TDAPreStackItem = std::vector<TPreStackItem>;

// The calling thread's stack: [lowest address, base).
struct ThreadStackBounds {
    std::uintptr_t Bottom = 0;
    std::uintptr_t Top = 0;
};
std::optional<ThreadStackBounds> CurrentThreadStackBounds();

// Every value above 7 that passes the after-call test, read from the slot right below stackTop
// down to stackBottom, stopping at a slot that holds stopValue when one is given. Without bounds
// the calling thread's stack pointer and stack base are used. Returns the number of items; after
// a failure (no bounds, an unreadable stack) the list is empty.
std::size_t PrepareStackTrace(std::uintptr_t framePointer,
                              std::optional<std::uintptr_t> stackTop,
                              std::optional<std::uintptr_t> stackBottom,
                              TDAPreStackItem& items,
                              std::optional<std::uintptr_t> stopValue = std::nullopt);

}  // namespace kestrix
