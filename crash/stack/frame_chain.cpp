// \brief Following the saved frame pointers through the guarded reads.
#include "crash/stack/frame_chain.h"

#include "crash/stack/guarded_read.h"

namespace kestrix {

std::vector<std::uintptr_t> FrameChainSlots(std::uintptr_t framePointer,
                                            std::uintptr_t stackBottom,
                                            std::uintptr_t stackTop) {
    std::vector<std::uintptr_t> slots;
    std::uintptr_t current = framePointer;
    while (current != 0 && current + SlotSize > current && current + SlotSize < stackTop) {
        if (current + SlotSize >= stackBottom)
            slots.push_back(current + SlotSize);
        const auto next = TryReadValue<std::uintptr_t>(current);
        if (!next || *next <= current)
            break;
        current = *next;
    }
    return slots;
}

}  // namespace kestrix
