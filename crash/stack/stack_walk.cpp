// \brief The shared state of a stack trace.
#include "crash/stack/stack_walk.h"

#include "crash/stack/guarded_read.h"

namespace kestrix {
namespace {

TTraceKind TraceKindOf(const TStackTraceParams& params,
                       std::optional<std::uintptr_t> currentAddress) {
    return TTraceKind{params.IsException, params.IsOsFault, currentAddress.value_or(0)};
}

}  // namespace

TStackWalk::TStackWalk(const TStackTraceParams& params,
                       std::optional<std::uintptr_t> currentAddress,
                       std::uintptr_t stackBottom,
                       std::uintptr_t stackTop,
                       TProcedureTable& procedures)
    : Params(params),
      CurrentAddress(currentAddress),
      StackBottom(stackBottom),
      StackTop(stackTop),
      Procedures(procedures),
      Disassembler(procedures.Disassembler()),
      Regions(TMemoryRegions::Snapshot()),
      Candidates(procedures, Disassembler, Regions, TraceKindOf(params, currentAddress)) {}

bool TStackWalk::ReadStack() {
    // Checked first: a range made up by a damaged context must not size the copy.
    if (!Regions.CoversReadable(StackBottom, StackTop))
        return false;
    Slots.assign((StackTop - StackBottom) / sizeof(std::uintptr_t), 0);
    return TryRead(StackBottom, std::as_writable_bytes(std::span{Slots}));
}

void TStackWalk::CheckAbort() const {
    if (Params.AbortFlag != nullptr && Params.AbortFlag->load())
        throw TTraceAborted{};
}

void TStackWalk::Progress(int thousandths) {
    if (Params.ProgressAlert == nullptr || thousandths <= m_position)
        return;
    m_position = thousandths;
    Params.ProgressAlert->SetPosition(thousandths);
}

}  // namespace kestrix
