// \brief The runtime's standard message and class for an operating-system fault (a signal), one
// table for the whole reporter:
//
//   SIGSEGV                        EAccessViolation  "Access violation at address X in module 'M'.
//                                                     Read of address Y" (Write of, Execute of)
//   a fault in the guard area      EStackOverflow    "Stack overflow"
//     below a thread's stack
//   SIGSEGV with SI_KERNEL         EPrivilege        "Privileged instruction"
//   SIGFPE with FPE_INTDIV         EDivByZero        "Division by zero"
//   SIGILL, SIGBUS, SIGABRT, any   EExternalException "External exception " and the signal name
//     other
//
// X and Y are written as 16 lower-case hexadecimal digits. A signal sent by another process is
// described like a fault.
#pragma once

#include <exception>
#include <optional>
#include <string>

#include "crash/core/failure_request.h"
#include "crash/stack/memory_regions.h"

namespace kestrix {

// How far below a stack's lowest mapped page a fault still counts as its overflow: the kernel's
// gap below a growing stack, which also covers a thread's guard pages.
inline constexpr std::uintptr_t StackGuardArea = 1u << 20;

struct FaultDescription {
    std::exception_ptr Exception;  // of the class of the table, with its message
    std::string Message;
};

// The stack region the stack pointer belongs to: the readable region at or just above it (an
// overflowing thread's stack pointer has already left its stack).
std::optional<TMemoryRegion> FaultingStack(const TMemoryRegions& regions,
                                           std::uintptr_t stackPointer);

FaultDescription DescribeFault(const SignalRecord& record, const TMemoryRegions& regions);

}  // namespace kestrix
