// The fault table: class and message for each signal and code.
#include "crash/core/fault_description.h"

#include <gtest/gtest.h>

#include <sys/mman.h>

#include "crash/core/thrown_object.h"

namespace kestrix {
namespace {

SignalRecord Fault(int signal, int code, std::uintptr_t address = 0, greg_t error = 0) {
    SignalRecord record;
    record.Signal = signal;
    record.Code = code;
    record.FaultAddress = address;
    record.Registers[REG_RIP] = 0x1234;
    record.Registers[REG_ERR] = error;
    int local = 0;
    record.Registers[REG_RSP] = reinterpret_cast<greg_t>(&local);
    return record;
}

TEST(FaultDescription, GivesEachFaultItsClassAndMessage) {
    const TMemoryRegions regions = TMemoryRegions::Snapshot();
    const struct {
        SignalRecord Record;
        const char* Class;
        std::string Message;
    } cases[] = {
        {Fault(SIGSEGV, SEGV_MAPERR, 0x10), "EAccessViolation",
         "Access violation at address 0000000000001234 in module ''. Read of address "
         "0000000000000010"},
        {Fault(SIGSEGV, SEGV_ACCERR, 0x20, 0x6), "EAccessViolation",
         "Access violation at address 0000000000001234 in module ''. Write of address "
         "0000000000000020"},
        {Fault(SIGSEGV, SEGV_ACCERR, 0x30, 0x14), "EAccessViolation",
         "Access violation at address 0000000000001234 in module ''. Execute of address "
         "0000000000000030"},
        {Fault(SIGSEGV, SI_KERNEL), "EPrivilege", "Privileged instruction"},
        {Fault(SIGFPE, FPE_INTDIV), "EDivByZero", "Division by zero"},
        {Fault(SIGFPE, FPE_FLTINV), "EExternalException", "External exception SIGFPE"},
        {Fault(SIGILL, ILL_ILLOPN), "EExternalException", "External exception SIGILL"},
        {Fault(SIGBUS, BUS_ADRERR), "EExternalException", "External exception SIGBUS"},
        {Fault(SIGABRT, SI_TKILL), "EExternalException", "External exception SIGABRT"},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.Message);
        const FaultDescription fault = DescribeFault(each.Record, regions);
        EXPECT_EQ(fault.Message, each.Message);
        const ThrownObject object = ThrownObjectOf(fault.Exception);
        EXPECT_EQ(ClassName(object), each.Class);
        EXPECT_EQ(ClassNames(*object.Type).at(1), "EExternal");
        EXPECT_EQ(ExceptionMessage(object), each.Message);
    }
}

TEST(FaultDescription, NamesTheModuleOfTheFaultingInstruction) {
    SignalRecord record = Fault(SIGSEGV, SEGV_MAPERR, 0x10);
    record.Registers[REG_RIP] = reinterpret_cast<greg_t>(&DescribeFault);
    const std::string message = DescribeFault(record, TMemoryRegions::Snapshot()).Message;
    EXPECT_NE(message.find("in module 'kestrix_core_tests'"), std::string::npos) << message;
}

TEST(FaultDescription, CallsAFaultInTheGuardAreaBelowTheStackAStackOverflow) {
    const TMemoryRegions regions = TMemoryRegions::Snapshot();
    int local = 0;
    const auto stack = FaultingStack(regions, reinterpret_cast<std::uintptr_t>(&local));
    ASSERT_TRUE(stack);
    SignalRecord overflow = Fault(SIGSEGV, SEGV_MAPERR, stack->Start - 16);
    // The stack pointer of the overflowing frame has already left the stack.
    overflow.Registers[REG_RSP] = static_cast<greg_t>(stack->Start - 64);
    EXPECT_EQ(DescribeFault(overflow, regions).Message, "Stack overflow");
    SignalRecord farBelow = Fault(SIGSEGV, SEGV_MAPERR, stack->Start - 2 * StackGuardArea);
    EXPECT_EQ(DescribeFault(farBelow, regions).Message.rfind("Access violation", 0), 0u);
}

}  // namespace
}  // namespace kestrix
