// \brief The register lines in the report's order.
#include "crash/report/cpu_registers.h"

#include <array>
#include <utility>

#include "crash/report/hex_text.h"

namespace kestrix {

std::string GetCpuRegisters(std::span<const greg_t, NGREG> registers) {
    static constexpr std::array<std::pair<const char*, int>, 17> Order{{
        {"rax", REG_RAX},
        {"rbx", REG_RBX},
        {"rcx", REG_RCX},
        {"rdx", REG_RDX},
        {"rsi", REG_RSI},
        {"rdi", REG_RDI},
        {"r8", REG_R8},
        {"r9", REG_R9},
        {"r10", REG_R10},
        {"r11", REG_R11},
        {"r12", REG_R12},
        {"r13", REG_R13},
        {"r14", REG_R14},
        {"r15", REG_R15},
        {"rip", REG_RIP},
        {"rsp", REG_RSP},
        {"rbp", REG_RBP},
    }};
    std::string text;
    for (const auto& [name, index] : Order) {
        if (!text.empty())
            text += "\r\n";
        text += name;
        text += " = ";
        text += HexAddress(static_cast<std::uintptr_t>(registers[static_cast<std::size_t>(index)]));
    }
    return text;
}

}  // namespace kestrix
