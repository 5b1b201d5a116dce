// \brief TStackWalk: what the phases of one stack trace share: the resolved parameters, the copy
// of the stack, the candidate test, the items, the result, and the abort flag and progress alert.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "crash/stack/candidate_test.h"
#include "crash/stack/memory_regions.h"
#include "crash/stack/procedure_table.h"
#include "crash/stack/stack_links.h"
#include "crash/stack/stack_trace.h"

namespace kestrix {

// Thrown when the abort flag is found set: the trace ends with what it has composed.
struct TTraceAborted {};

class TStackWalk {
  public:
    // The stack is [stackBottom, stackTop), both slot-aligned; its slots are copied from there.
    TStackWalk(const TStackTraceParams& params,
               std::optional<std::uintptr_t> currentAddress,
               std::uintptr_t stackBottom,
               std::uintptr_t stackTop,
               TProcedureTable& procedures);

    // Copies the stack's slots; false when the range cannot be read.
    bool ReadStack();

    // Throws TTraceAborted when the abort flag is set.
    void CheckAbort() const;
    // Passes a position in thousandths to the progress alert, never going back.
    void Progress(int thousandths);

    const TStackTraceParams& Params;
    const std::optional<std::uintptr_t> CurrentAddress;
    const std::uintptr_t StackBottom;
    const std::uintptr_t StackTop;
    std::vector<std::uintptr_t> Slots;  // the stack's values, Slots[0] at StackBottom

    TProcedureTable& Procedures;
    const CodeDisassembler& Disassembler;
    const TMemoryRegions Regions;
    const TCandidateTest Candidates;

    TInternalStackItems Items;
    bool HasCreator = false;
    bool LocationAdded = false;  // the current address was added as the last item
    TStackTraceResult Result;

  private:
    int m_position = -1;
};

}  // namespace kestrix
