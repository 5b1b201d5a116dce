// \brief StackTrace: the call sites of one thread's stack, innermost first, as the report's
// thread sections write them. It does not trust frame pointers: every 8-byte slot of the stack
// that could hold a return address is checked against the call instruction in front of it and
// the procedure that holds it, and between the items it is sure of (the anchors) only the chain
// best connected by real call relations is kept.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "crash/settings/exported_switches.h"  // DumbStackTrace, the switch for DumbTrace
#include "crash/stack/prepare_stack_trace.h"
#include "crash/stack/stack_item.h"

namespace kestrix {

// Told how far a trace has got, in thousandths: 0 to 25 while the candidates are collected, 25 to
// 650 during the deep checks, 650 to 1000 during the chain realisation, 1000 when it is done.
class IProgressAlert {
  public:
    virtual ~IProgressAlert() = default;
    virtual void SetPosition(int thousandths) = 0;
};

struct TStackTraceParams {
    bool HideUglyItems = true;
    bool ShowRelAddrs = false;
    bool ShowRelLines = false;
    // The failing instruction (or a thread's current instruction). Without one, and when the
    // trace is not an exception, the caller's return address.
    std::optional<std::uintptr_t> CurrentAddress;
    bool IsException = false;
    bool IsOsFault = false;
    // The stack range [StackBottom, StackTop); by default the calling thread's stack pointer and
    // stack base.
    std::optional<std::uintptr_t> StackBottom;
    std::optional<std::uintptr_t> StackTop;
    std::uintptr_t CreatorAddress = 0;  // 0: none
    std::uintptr_t FramePointer = 0;    // 0: none
    // List every item that survived the deep checks, connected or not.
    bool DumbTrace = false;
    // A trace of std::terminate: the throw and rethrow routines and everything deeper are left
    // out.
    bool TerminateTrace = false;
    // Raise-time candidates, taken in place of the stack's slots.
    const TDAPreStackItem* PreparedStack = nullptr;
    IProgressAlert* ProgressAlert = nullptr;
    // Ends the trace at once when set; the text composed so far is returned.
    const std::atomic<bool>* AbortFlag = nullptr;
    bool DoNotAddLocation = false;
};

struct TStackTraceResult {
    std::string Text;                     // the call-stack lines, joined by CR LF
    TStackTrace Items;                    // one per listed line
    std::uintptr_t ExceptionAddress = 0;  // the innermost valid item's code address
    // The procedure the disassembly shows: its start and the listed item in it; 0 when none.
    std::uintptr_t ProcedureStart = 0;
    std::uintptr_t ProcedureItemAddress = 0;
    std::uint32_t Checksum1 = 0;
    std::uint32_t Checksum2 = 0;
    bool AnyLineNumber = false;  // some listed item has a line number
    // "file|identification" of each module with minimal debug information met, once.
    std::vector<std::string> MinimalDebugInfo;
};

// Walks the stack. An unreadable stack range gives an empty text; a phase that fails ends the
// trace with the internal error text of that phase.
TStackTraceResult StackTrace(const TStackTraceParams& params);

}  // namespace kestrix
