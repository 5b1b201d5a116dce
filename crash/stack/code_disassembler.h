// \brief CodeDisassembler: the x86-64 instruction decoder of the stack walker, on Zydis. It reads
// code only through the guarded reads, recognises calls, jumps and returns, finds targets fixed in
// the instruction, in a memory cell (RIP-relative cells included) or in a register whose value the
// instructions before fixed, and writes Intel-syntax text for the report's disassembly.
#pragma once

#include <Zydis/Zydis.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "crash/stack/register_values.h"

namespace kestrix {

inline constexpr std::size_t MaxInstructionLength = ZYDIS_MAX_INSTRUCTION_LENGTH;

enum class TBranchKind {
    bkNone,
    bkCall,
    bkJump,             // unconditional
    bkConditionalJump,  // conditional, including loops and jrcxz
    bkReturn,
    bkStop,  // control never passes to the next instruction (ud2, hlt, int3)
};

enum class TTargetSource {
    tsNone,        // no target, or one not fixed (a jump table, an unknown register)
    tsImmediate,   // relative or absolute in the instruction
    tsMemoryCell,  // read from a cell whose address is fixed (RIP-relative or absolute)
    tsRegister,    // a register, or a cell addressed by registers, whose values were carried along
};

struct TDecodedInstruction {
    std::uintptr_t Address = 0;
    std::uint8_t Length = 0;
    TBranchKind Branch = TBranchKind::bkNone;
    TTargetSource TargetSource = TTargetSource::tsNone;
    std::uintptr_t Target = 0;
    // The cell the target was read from, for tsMemoryCell and a cell addressed by registers.
    std::uintptr_t TargetCell = 0;

    std::uintptr_t Next() const { return Address + Length; }
    bool IsCall() const { return Branch == TBranchKind::bkCall; }
    bool IsJump() const {
        return Branch == TBranchKind::bkJump || Branch == TBranchKind::bkConditionalJump;
    }
    bool HasTarget() const { return TargetSource != TTargetSource::tsNone; }
    // The target lies in the instruction or in a fixed memory cell, independent of registers.
    bool HasFixedTarget() const {
        return TargetSource == TTargetSource::tsImmediate ||
               TargetSource == TTargetSource::tsMemoryCell;
    }
    // The flow of control ends here: a return, an unconditional jump, or a stop.
    bool EndsFlow() const {
        return Branch == TBranchKind::bkReturn || Branch == TBranchKind::bkJump ||
               Branch == TBranchKind::bkStop;
    }
};

class CodeDisassembler {
  public:
    CodeDisassembler();

    // Decodes the instruction at address; nothing when its bytes cannot be read or do not form a
    // valid instruction. With registers, the target may come from their values, and the values are
    // then carried past the instruction.
    std::optional<TDecodedInstruction> Decode(std::uintptr_t address,
                                              RegisterValues* registers = nullptr) const;
    // The same on bytes already read, which lie at address in the process.
    std::optional<TDecodedInstruction> DecodeBytes(std::span<const std::byte> bytes,
                                                   std::uintptr_t address,
                                                   RegisterValues* registers = nullptr) const;

    // The instruction at address in Intel syntax, addresses absolute; nothing when it does not
    // decode.
    std::optional<std::string> Text(std::uintptr_t address) const;

  private:
    bool DecodeRaw(std::span<const std::byte> bytes,
                   ZydisDecodedInstruction& instruction,
                   ZydisDecodedOperand* operands) const;
    bool ReadAndDecode(std::uintptr_t address,
                       ZydisDecodedInstruction& instruction,
                       ZydisDecodedOperand* operands) const;
    TDecodedInstruction Describe(const ZydisDecodedInstruction& instruction,
                                 ZydisDecodedOperand* operands,
                                 std::uintptr_t address,
                                 RegisterValues* registers) const;

    ZydisDecoder m_decoder{};
    ZydisFormatter m_formatter{};
};

}  // namespace kestrix
