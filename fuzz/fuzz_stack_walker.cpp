// \brief Fuzz target of the stack walker's reading of a stack: any bytes, laid out as a thread's
// stack in front of an inaccessible page, must be scanned, their candidates tested against the
// procedures they point into and those procedures analysed, and the whole stack walked, without
// a fault, a leak or a hang, whatever the slots hold.
//
// Input: an 8-byte control word, then the stack's slots. The control word's low byte picks the
// slot the frame pointer points at (0xff: none), the next byte the lowest slot of the scan, bits
// 16 to 39 an offset into this program's code (the start address: where a procedure is analysed
// and, as the walk's current address, where a fault struck), bits 40 to 55 where in the stack its
// bytes are analysed as code, and the top byte how the walk runs: bit 56 on the raise-time
// capture in place of the slots, bit 57 dumb, bit 58 as an exception, bit 59 as an
// operating-system fault, bits 60 and 61 its current address (none, the start address, an address
// in the inaccessible page, the lowest slot's value), bit 62 as a terminate trace, bit 63 with the
// start address as the thread's creator. A slot whose top byte is 0xc0 is turned into
// an address inside this program's code, so that the scan meets values that pass the after-call
// test and lead into real procedures; one whose top byte is 0xfb into the address of the slot its
// low 16 bits number, so that frame chains can form.
#include <sys/mman.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "crash/stack/candidate_test.h"
#include "crash/stack/code_disassembler.h"
#include "crash/stack/frame_chain.h"
#include "crash/stack/guarded_read.h"
#include "crash/stack/module_cache.h"
#include "crash/stack/parse_function.h"
#include "crash/stack/prepare_stack_trace.h"
#include "crash/stack/procedure_table.h"
#include "crash/stack/stack_trace.h"

namespace {

using namespace kestrix;

constexpr std::size_t Page = 4096;
constexpr std::size_t MaxStack = 16 * Page;
constexpr std::size_t MaxItemsAnalysed = 64;

// The stack's pages and the inaccessible page above them, mapped once.
struct StackPages {
    std::uint8_t* Base = nullptr;
    StackPages() {
        void* pages = mmap(nullptr, MaxStack + Page, PROT_READ | PROT_WRITE,
                           MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (pages == MAP_FAILED)
            std::abort();
        Base = static_cast<std::uint8_t*>(pages);
        mprotect(Base + MaxStack, Page, PROT_NONE);
    }
};

// The walk's progress only goes forwards, within 0 to 1000 thousandths.
class ProgressCheck : public IProgressAlert {
  public:
    void SetPosition(int thousandths) override {
        if (thousandths < m_position || thousandths > 1000)
            std::abort();
        m_position = thousandths;
    }

  private:
    int m_position = 0;
};

std::size_t CountLineBreaks(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string_view::npos;
         at = text.find("\r\n", at + 2))
        ++count;
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = StartTryRead();
    static StackPages pages;
    static const TModuleEntry* program =
        FindModule(reinterpret_cast<std::uintptr_t>(&LLVMFuzzerTestOneInput));
    static const CodeDisassembler disassembler;
    if (!ready || program == nullptr || size < 8 || program->CodeEnd <= program->CodeStart)
        return 0;

    std::uint64_t control = 0;
    std::memcpy(&control, data, sizeof control);
    const std::size_t stackSize = std::min(size - 8, MaxStack) & ~(SlotSize - 1);
    const std::size_t slotCount = stackSize / SlotSize;
    // The stack ends right at the inaccessible page.
    std::uint8_t* stack = pages.Base + MaxStack - stackSize;
    std::memcpy(stack, data + 8, stackSize);
    const std::uintptr_t codeSize = program->CodeEnd - program->CodeStart;
    for (std::size_t i = 0; i < slotCount; ++i) {
        std::uint64_t value = 0;
        std::memcpy(&value, stack + i * SlotSize, sizeof value);
        if (value >> 56 == 0xc0)
            value = program->CodeStart + (value & 0xffffffff) % codeSize;
        else if (value >> 56 == 0xfb)
            value = reinterpret_cast<std::uintptr_t>(stack) + (value & 0xffff) * SlotSize;
        std::memcpy(stack + i * SlotSize, &value, sizeof value);
    }

    const auto base = reinterpret_cast<std::uintptr_t>(stack);
    const std::uintptr_t top = base + stackSize;
    const std::size_t framePointerSlot = control & 0xff;
    const std::uintptr_t framePointer =
        framePointerSlot == 0xff ? 0 : base + framePointerSlot * SlotSize;
    const std::uintptr_t bottom =
        base + std::min<std::size_t>((control >> 8) & 0xff, slotCount) * SlotSize;

    TDAPreStackItem items;
    const std::size_t count = PrepareStackTrace(framePointer, top, bottom, items);
    if (count != items.size())
        std::abort();

    TProcedureTable& table = ProcessProcedureTable();
    const TMemoryRegions regions = TMemoryRegions::Snapshot();
    const std::uintptr_t start = program->CodeStart + ((control >> 16) & 0xffffff) % codeSize;
    // The start address as the location of a fault, the candidates as slots or anchors.
    const TCandidateTest candidates(table, disassembler, regions, {true, true, start});
    candidates.Test(start, TCandidateKind::ckLocation);
    for (std::size_t i = 0; i < std::min(items.size(), MaxItemsAnalysed); ++i) {
        const auto kind =
            items[i].FrameChainSlot != 0 ? TCandidateKind::ckAnchor : TCandidateKind::ckSlot;
        const auto candidate = candidates.Test(items[i].Address, kind);
        if (candidate && candidate->Verified && !candidate->Call)
            std::abort();  // a verified item always knows its call
    }
    // The stack's own bytes as code: random instructions, jumps anywhere.
    if (stackSize > 0)
        ParseFunction(disassembler, base + ((control >> 40) & 0xffff) % stackSize,
                      {base, top, std::nullopt});

    const unsigned walk = static_cast<unsigned>(control >> 56);
    TStackTraceParams params;
    params.StackBottom = bottom;
    params.StackTop = top;
    params.FramePointer = framePointer;
    params.PreparedStack = (walk & 0x01) != 0 ? &items : nullptr;
    params.DumbTrace = (walk & 0x02) != 0;
    params.IsException = (walk & 0x04) != 0;
    params.IsOsFault = (walk & 0x08) != 0;
    switch ((walk >> 4) & 0x03) {
        case 1:
            params.CurrentAddress = start;
            break;
        case 2:
            params.CurrentAddress = top + 0x40;
            break;
        case 3:
            if (slotCount > 0) {
                std::uintptr_t lowest = 0;
                std::memcpy(&lowest, stack, sizeof lowest);
                params.CurrentAddress = lowest;
            }
            break;
        default:
            break;
    }
    params.TerminateTrace = (walk & 0x40) != 0;
    params.CreatorAddress = (walk & 0x80) != 0 ? start : 0;
    ProgressCheck progress;
    params.ProgressAlert = &progress;
    const TStackTraceResult result = StackTrace(params);
    // No phase may fail, whatever the stack holds, and every listed item is a line of the text.
    if (result.Text.starts_with(">> internal error in "))
        std::abort();
    const auto lines = result.Text.empty() ? 0 : 1 + CountLineBreaks(result.Text);
    if (lines != result.Items.size())
        std::abort();
    return 0;
}
