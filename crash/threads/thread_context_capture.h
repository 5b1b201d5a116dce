// \brief The registers and stack of another thread of the process, for the report: a signal asks
// the thread to copy its context, and the thread waits in the handler until its stack has been
// copied, so that registers and stack belong to the same moment.
#pragma once

#include <sys/ucontext.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "crash/threads/thread_ids.h"

namespace kestrix {

struct CapturedThreadContext {
    // The general registers as the kernel saved them when the signal arrived (indexed by REG_RIP,
    // REG_RSP, ...).
    std::array<greg_t, NGREG> Registers{};
    std::uintptr_t InstructionPointer = 0;
    std::uintptr_t StackPointer = 0;
    std::uintptr_t FramePointer = 0;
    // The thread's stack: [StackBottom, StackTop), and a copy of its used part, from the red zone
    // below the stack pointer up to StackTop, starting at StackCopyStart.
    std::uintptr_t StackBottom = 0;
    std::uintptr_t StackTop = 0;
    std::uintptr_t StackCopyStart = 0;
    std::vector<std::uint8_t> Stack;
};

inline constexpr std::chrono::milliseconds ContextCaptureTimeout{1000};

// The signal used, one of the real-time signals the C library leaves to programs.
int ContextCaptureSignal();

// Nothing when the thread is the calling one, has ended, or does not answer within the time-out
// (it blocks the signal, or is stopped).
std::optional<CapturedThreadContext> CaptureThreadContext(
    ThreadId thread,
    std::chrono::milliseconds timeout = ContextCaptureTimeout);

}  // namespace kestrix
