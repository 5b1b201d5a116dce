// \brief The probe points of the crash suite's scenario program: the places where a scenario's
// stack is walked with StackTrace and printed, and where gdb takes its backtrace of the same
// stack. They live outside the scenarios' namespace, so that neither the walk nor gdb counts them
// as scenario frames.
#pragma once

#include <cstdint>

namespace suite_probe {

// Walks the calling thread's stack from here and prints the listed frames.
[[gnu::noinline]] void ProbePoint();

// The same with a frame pointer of the caller's choice (a broken frame chain).
[[gnu::noinline]] void ProbePointWithFramePointer(std::uintptr_t framePointer);

// Makes SIGSEGV walk the faulting thread's stack as an operating-system fault, print it and end
// the program.
void InstallFaultProbe();

// Prints the walk of the raise-time stack captured at the last throw, as an exception trace.
void PrintRaiseTimeWalk();

}  // namespace suite_probe
