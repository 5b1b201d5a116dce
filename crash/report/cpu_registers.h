// \brief The "cpu registers" section: the general registers of the failure's context.
#pragma once

#include <sys/ucontext.h>

#include <span>
#include <string>

namespace kestrix {

// rax, rbx, rcx, rdx, rsi, rdi, r8 to r15, rip, rsp, rbp, one per line as "name = " and sixteen
// hexadecimal digits. Takes the register array of a signal context or of a captured thread
// context (indexed by REG_RAX, REG_RIP, ...).
std::string GetCpuRegisters(std::span<const greg_t, NGREG> registers);

}  // namespace kestrix
