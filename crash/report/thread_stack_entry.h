// \brief One listed thread of a report: what its section needs to walk its stack later (the
// location, the stack range, the creator, the raise-time stack), taken when the report's sections
// are created, and the section's content from the walk.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "crash/stack/prepare_stack_trace.h"
#include "crash/stack/stack_trace.h"
#include "crash/threads/thread_ids.h"

namespace kestrix {

class IKXException;

struct TTraceOptions {
    bool HideUglyItems = true;
    bool ShowRelAddrs = false;
    bool ShowRelLines = false;
};

struct TThreadStackEntry {
    ThreadId Thread = 0;
    std::string Title;  // the section's name
    // The exception address for the crashed thread, the current instruction otherwise.
    std::uintptr_t LocationAddress = 0;
    bool Crashed = false;
    bool IsException = false;  // the walk starts at a failure, not at a current instruction
    bool OsFault = false;      // an exception of the EExternal family
    bool Terminate = false;    // the runtime's terminate path
    // Registers and stack could be read; a thread that could not gets ">> stack not accessible".
    bool Accessible = false;
    // The thread that builds the report: its stack is walked from where it stands then.
    bool Current = false;
    std::uintptr_t StackLow = 0;
    std::uintptr_t StackHigh = 0;
    std::uintptr_t FramePointer = 0;
    std::uintptr_t CreatorAddress = 0;  // 0: the creator is not known
    ThreadId CreatorThread = 0;
    std::shared_ptr<const TDAPreStackItem> PreparedStack;
};

// The crashed thread (the main thread of a frozen program) from the failure's own values.
TThreadStackEntry CrashedThreadStackEntry(const IKXException& exception);

// Another thread from its registers and stack as a signal captures them now.
TThreadStackEntry OtherThreadStackEntry(ThreadId thread);

// The section's name: the display text with the thread's state.
std::string ThreadStackTitle(ThreadId thread);

// The address text of the entry's location.
std::string LocationLine(const TThreadStackEntry& entry, const TTraceOptions& options);

// The walk of the entry's stack; an empty text when it is not accessible.
TStackTraceResult TraceThreadStack(const TThreadStackEntry& entry,
                                   const TTraceOptions& options,
                                   const std::atomic<bool>* abortFlag);

// The section's content: the call-stack lines, with the creator line before the creation
// address, or ">> stack not accessible".
std::string ThreadSectionContent(const TThreadStackEntry& entry,
                                 const TStackTraceResult& trace,
                                 const TTraceOptions& options);

}  // namespace kestrix
