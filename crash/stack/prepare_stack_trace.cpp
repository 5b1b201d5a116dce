// \brief The raise-time capture: frame chain first, then every slot from the top down.
#include "crash/stack/prepare_stack_trace.h"

#include <pthread.h>

#include <algorithm>
#include <array>
#include <utility>

#include "crash/stack/after_call_test.h"
#include "crash/stack/frame_chain.h"
#include "crash/stack/guarded_read.h"

namespace kestrix {

std::optional<ThreadStackBounds> CurrentThreadStackBounds() {
    pthread_attr_t attributes;
    if (pthread_getattr_np(pthread_self(), &attributes) != 0)
        return std::nullopt;
    void* lowest = nullptr;
    std::size_t size = 0;
    const int result = pthread_attr_getstack(&attributes, &lowest, &size);
    pthread_attr_destroy(&attributes);
    if (result != 0)
        return std::nullopt;
    const auto bottom = reinterpret_cast<std::uintptr_t>(lowest);
    return ThreadStackBounds{bottom, bottom + size};
}

std::size_t PrepareStackTrace(std::uintptr_t framePointer,
                              std::optional<std::uintptr_t> stackTop,
                              std::optional<std::uintptr_t> stackBottom,
                              TDAPreStackItem& items,
                              std::optional<std::uintptr_t> stopValue) {
    items.clear();
    if (!stackTop) {
        const auto bounds = CurrentThreadStackBounds();
        if (!bounds)
            return 0;
        stackTop = bounds->Top;
    }
    if (!stackBottom)
        stackBottom = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
    const std::uintptr_t bottom = (*stackBottom + SlotSize - 1) & ~(SlotSize - 1);
    const std::uintptr_t top = *stackTop & ~(SlotSize - 1);
    if (bottom >= top)
        return 0;

    std::vector<std::uintptr_t> chain = FrameChainSlots(framePointer, bottom, top);
    std::sort(chain.begin(), chain.end());

    // The stack is read in blocks from the top down: one system call per block, not per slot.
    constexpr std::size_t BlockSlots = 512;
    std::array<std::uintptr_t, BlockSlots> block{};
    bool skipNext = false;
    for (std::uintptr_t blockEnd = top; blockEnd > bottom;) {
        const std::size_t count = std::min<std::size_t>(
            BlockSlots, static_cast<std::size_t>((blockEnd - bottom) / SlotSize));
        const std::uintptr_t blockStart = blockEnd - count * SlotSize;
        if (!TryRead(blockStart, std::as_writable_bytes(std::span{block}.first(count)))) {
            items.clear();
            return 0;
        }
        for (std::size_t i = count; i-- > 0;) {
            const std::uintptr_t slot = blockStart + i * SlotSize;
            const std::uintptr_t value = block[i];
            if (stopValue && value == *stopValue)
                return items.size();
            if (std::exchange(skipNext, false))
                continue;  // the saved frame pointer below a frame-chain slot
            const bool chainSlot = std::binary_search(chain.begin(), chain.end(), slot);
            if (value > 7 && PassesAfterCallTest(value)) {
                items.push_back({static_cast<std::uint8_t>(chainSlot ? 1 : 0), value});
                skipNext = chainSlot;
            }
        }
        blockEnd = blockStart;
    }
    return items.size();
}

}  // namespace kestrix
