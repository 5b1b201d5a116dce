// \brief The fault table.
#include "crash/core/fault_description.h"

#include <string.h>

#include <cstdio>

#include "crash/core/kes_exception.h"
#include "crash/settings/module_info.h"

namespace kestrix {
namespace {

constexpr std::uintptr_t PageSize = 4096;
// How far above the stack pointer its stack is looked for.
constexpr std::uintptr_t StackSearchRange = 64 * 1024;
// The page-fault error bits the kernel passes in the context.
constexpr greg_t PageFaultWrite = 0x2;
constexpr greg_t PageFaultInstructionFetch = 0x10;

std::string Hex16(std::uintptr_t value) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

std::string SignalName(int signal) {
    const char* abbreviation = sigabbrev_np(signal);
    return abbreviation != nullptr ? std::string("SIG") + abbreviation
                                   : "signal " + std::to_string(signal);
}

bool IsStackOverflow(const SignalRecord& record, const TMemoryRegions& regions) {
    const auto stack =
        FaultingStack(regions, static_cast<std::uintptr_t>(record.Registers[REG_RSP]));
    return stack && record.FaultAddress < stack->Start &&
           stack->Start - record.FaultAddress <= StackGuardArea;
}

std::string AccessViolationMessage(const SignalRecord& record) {
    const auto instruction = static_cast<std::uintptr_t>(record.Registers[REG_RIP]);
    const greg_t error = record.Registers[REG_ERR];
    const char* access = (error & PageFaultInstructionFetch) != 0 ? "Execute"
                         : (error & PageFaultWrite) != 0          ? "Write"
                                                                  : "Read";
    return "Access violation at address " + Hex16(instruction) + " in module '" +
           ModuleFileName(ModuleOfAddress(reinterpret_cast<const void*>(instruction))) + "'. " +
           access + " of address " + Hex16(record.FaultAddress);
}

template <typename Class>
FaultDescription Describe(std::string message) {
    return {std::make_exception_ptr(Class(message)), message};
}

}  // namespace

std::optional<TMemoryRegion> FaultingStack(const TMemoryRegions& regions,
                                           std::uintptr_t stackPointer) {
    for (std::uintptr_t offset = 0; offset <= StackSearchRange; offset += PageSize) {
        if (auto region = regions.Find(stackPointer + offset)) {
            return region;
        }
    }
    return std::nullopt;
}

FaultDescription DescribeFault(const SignalRecord& record, const TMemoryRegions& regions) {
    switch (record.Signal) {
        case SIGSEGV:
            if (record.Code == SI_KERNEL) {
                return Describe<EPrivilege>("Privileged instruction");
            }
            if (IsStackOverflow(record, regions)) {
                return Describe<EStackOverflow>("Stack overflow");
            }
            return Describe<EAccessViolation>(AccessViolationMessage(record));
        case SIGFPE:
            if (record.Code == FPE_INTDIV) {
                return Describe<EDivByZero>("Division by zero");
            }
            break;
        default:
            break;
    }
    return Describe<EExternalException>("External exception " + SignalName(record.Signal));
}

}  // namespace kestrix
