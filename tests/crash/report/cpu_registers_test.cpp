// \brief The "cpu registers" lines from a register array: order, names and 16 digits.
#include "crash/report/cpu_registers.h"

#include <gtest/gtest.h>

#include <array>

namespace kestrix {
namespace {

TEST(GetCpuRegisters, ListsTheGeneralRegistersInOrderWithSixteenDigits) {
    std::array<greg_t, NGREG> registers{};
    // Each register gets a value that names it, so a register taken from the wrong slot shows.
    const std::array<int, 17> order{REG_RAX, REG_RBX, REG_RCX, REG_RDX, REG_RSI, REG_RDI,
                                    REG_R8,  REG_R9,  REG_R10, REG_R11, REG_R12, REG_R13,
                                    REG_R14, REG_R15, REG_RIP, REG_RSP, REG_RBP};
    for (std::size_t i = 0; i < order.size(); ++i)
        registers[std::size_t(order[i])] = static_cast<greg_t>(0x1000 + i);
    registers[REG_RIP] = static_cast<greg_t>(0x00005555deadbeefULL);
    registers[REG_RSP] = static_cast<greg_t>(0xffffffffffffffffULL);
    registers[REG_EFL] = 0x246;  // not listed

    EXPECT_EQ(GetCpuRegisters(registers),
              "rax = 0000000000001000\r\n"
              "rbx = 0000000000001001\r\n"
              "rcx = 0000000000001002\r\n"
              "rdx = 0000000000001003\r\n"
              "rsi = 0000000000001004\r\n"
              "rdi = 0000000000001005\r\n"
              "r8 = 0000000000001006\r\n"
              "r9 = 0000000000001007\r\n"
              "r10 = 0000000000001008\r\n"
              "r11 = 0000000000001009\r\n"
              "r12 = 000000000000100a\r\n"
              "r13 = 000000000000100b\r\n"
              "r14 = 000000000000100c\r\n"
              "r15 = 000000000000100d\r\n"
              "rip = 00005555deadbeef\r\n"
              "rsp = ffffffffffffffff\r\n"
              "rbp = 0000000000001010");
}

}  // namespace
}  // namespace kestrix
