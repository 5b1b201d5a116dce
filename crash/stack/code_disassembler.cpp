// \brief Decoding, branch recognition, targets and register tracking on Zydis 4.
#include "crash/stack/code_disassembler.h"

#include <array>

#include "crash/stack/guarded_read.h"

namespace kestrix {
namespace {

TBranchKind BranchKindOf(const ZydisDecodedInstruction& instruction) {
    switch (instruction.meta.category) {
        case ZYDIS_CATEGORY_CALL:
            return TBranchKind::bkCall;
        case ZYDIS_CATEGORY_UNCOND_BR:
            return TBranchKind::bkJump;
        case ZYDIS_CATEGORY_COND_BR:
            return TBranchKind::bkConditionalJump;
        case ZYDIS_CATEGORY_RET:
        case ZYDIS_CATEGORY_SYSRET:
            return TBranchKind::bkReturn;
        default:
            break;
    }
    switch (instruction.mnemonic) {
        case ZYDIS_MNEMONIC_IRET:
        case ZYDIS_MNEMONIC_IRETD:
        case ZYDIS_MNEMONIC_IRETQ:
            return TBranchKind::bkReturn;
        case ZYDIS_MNEMONIC_UD0:
        case ZYDIS_MNEMONIC_UD1:
        case ZYDIS_MNEMONIC_UD2:
        case ZYDIS_MNEMONIC_HLT:
        case ZYDIS_MNEMONIC_INT3:
            return TBranchKind::bkStop;
        default:
            return TBranchKind::bkNone;
    }
}

bool IsGeneralRegister(ZydisRegister reg) {
    const ZydisRegister full = ZydisRegisterGetLargestEnclosing(ZYDIS_MACHINE_MODE_LONG_64, reg);
    return full >= ZYDIS_REGISTER_RAX && full <= ZYDIS_REGISTER_R15;
}

// The address a memory operand names: fixed when it needs no register but RIP, else from the
// carried values; nothing when a register in it is unknown or it has a segment base (fs, gs).
std::optional<std::uintptr_t> MemoryAddress(const ZydisDecodedInstruction& instruction,
                                            const ZydisDecodedOperand& operand,
                                            std::uintptr_t address,
                                            const RegisterValues* registers,
                                            bool& fixed) {
    const auto& mem = operand.mem;
    if (mem.segment == ZYDIS_REGISTER_FS || mem.segment == ZYDIS_REGISTER_GS)
        return std::nullopt;
    fixed = (mem.base == ZYDIS_REGISTER_NONE || mem.base == ZYDIS_REGISTER_RIP) &&
            mem.index == ZYDIS_REGISTER_NONE;
    if (fixed) {
        ZyanU64 result = 0;
        if (!ZYAN_SUCCESS(ZydisCalcAbsoluteAddress(&instruction, &operand, address, &result)))
            return std::nullopt;
        return static_cast<std::uintptr_t>(result);
    }
    if (registers == nullptr || mem.base == ZYDIS_REGISTER_RIP)
        return std::nullopt;
    std::uint64_t sum = static_cast<std::uint64_t>(mem.disp.value);
    if (mem.base != ZYDIS_REGISTER_NONE) {
        const auto base = registers->Value(mem.base);
        if (!base)
            return std::nullopt;
        sum += *base;
    }
    if (mem.index != ZYDIS_REGISTER_NONE) {
        const auto index = registers->Value(mem.index);
        if (!index)
            return std::nullopt;
        sum += *index * mem.scale;
    }
    return static_cast<std::uintptr_t>(sum);
}

void FindTarget(const ZydisDecodedInstruction& instruction,
                const ZydisDecodedOperand& operand,
                const RegisterValues* registers,
                TDecodedInstruction& decoded) {
    switch (operand.type) {
        case ZYDIS_OPERAND_TYPE_IMMEDIATE: {
            ZyanU64 result = 0;
            if (ZYAN_SUCCESS(
                    ZydisCalcAbsoluteAddress(&instruction, &operand, decoded.Address, &result))) {
                decoded.TargetSource = TTargetSource::tsImmediate;
                decoded.Target = static_cast<std::uintptr_t>(result);
            }
            return;
        }
        case ZYDIS_OPERAND_TYPE_MEMORY: {
            bool fixed = false;
            const auto cell =
                MemoryAddress(instruction, operand, decoded.Address, registers, fixed);
            if (!cell)
                return;
            const auto target = TryReadValue<std::uint64_t>(*cell);
            if (!target)
                return;
            decoded.TargetSource = fixed ? TTargetSource::tsMemoryCell : TTargetSource::tsRegister;
            decoded.TargetCell = *cell;
            decoded.Target = static_cast<std::uintptr_t>(*target);
            return;
        }
        case ZYDIS_OPERAND_TYPE_REGISTER:
            if (registers != nullptr) {
                if (const auto value = registers->Value(operand.reg.value)) {
                    decoded.TargetSource = TTargetSource::tsRegister;
                    decoded.Target = static_cast<std::uintptr_t>(*value);
                }
            }
            return;
        default:
            return;
    }
}

// The value a register write leaves, when the instruction fixes it: a move of an immediate, a lea
// of a fixed address, a load from a fixed cell, or zeroing by xor or sub of a register with
// itself. A 32-bit write clears the upper half.
std::optional<std::uint64_t> WrittenValue(const ZydisDecodedInstruction& instruction,
                                          const ZydisDecodedOperand* operands,
                                          std::uintptr_t address,
                                          const RegisterValues& registers) {
    const ZydisDecodedOperand& destination = operands[0];
    if (instruction.operand_count_visible != 2 || destination.size < 32)
        return std::nullopt;
    const ZydisDecodedOperand& source = operands[1];
    const std::uint64_t mask = destination.size == 64 ? ~std::uint64_t{0} : 0xffffffffu;
    switch (instruction.mnemonic) {
        case ZYDIS_MNEMONIC_MOV:
            if (source.type == ZYDIS_OPERAND_TYPE_IMMEDIATE)
                return static_cast<std::uint64_t>(source.imm.value.u) & mask;
            if (source.type == ZYDIS_OPERAND_TYPE_REGISTER) {
                const auto value = registers.Value(source.reg.value);
                return value ? std::optional{*value & mask} : std::nullopt;
            }
            if (source.type == ZYDIS_OPERAND_TYPE_MEMORY && destination.size == 64) {
                bool fixed = false;
                const auto cell = MemoryAddress(instruction, source, address, &registers, fixed);
                return cell ? TryReadValue<std::uint64_t>(*cell) : std::nullopt;
            }
            return std::nullopt;
        case ZYDIS_MNEMONIC_LEA: {
            bool fixed = false;
            const auto cell = MemoryAddress(instruction, source, address, &registers, fixed);
            return cell ? std::optional{static_cast<std::uint64_t>(*cell) & mask} : std::nullopt;
        }
        case ZYDIS_MNEMONIC_XOR:
        case ZYDIS_MNEMONIC_SUB:
            if (source.type == ZYDIS_OPERAND_TYPE_REGISTER &&
                source.reg.value == destination.reg.value)
                return std::uint64_t{0};
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

void CarryRegisters(const ZydisDecodedInstruction& instruction,
                    const ZydisDecodedOperand* operands,
                    std::uintptr_t address,
                    RegisterValues& registers) {
    if (instruction.meta.category == ZYDIS_CATEGORY_CALL) {
        registers.ForgetCallClobbered();
        return;
    }
    const auto value = operands[0].type == ZYDIS_OPERAND_TYPE_REGISTER &&
                               (operands[0].actions & ZYDIS_OPERAND_ACTION_MASK_WRITE) != 0
                           ? WrittenValue(instruction, operands, address, registers)
                           : std::nullopt;
    // Every register written, visible or implicit, loses its value; then the fixed one is set.
    for (std::size_t i = 0; i < instruction.operand_count; ++i) {
        const ZydisDecodedOperand& operand = operands[i];
        if (operand.type == ZYDIS_OPERAND_TYPE_REGISTER &&
            (operand.actions & ZYDIS_OPERAND_ACTION_MASK_WRITE) != 0 &&
            IsGeneralRegister(operand.reg.value))
            registers.Forget(operand.reg.value);
    }
    if (value)
        registers.Set(operands[0].reg.value, *value);
}

}  // namespace

CodeDisassembler::CodeDisassembler() {
    ZydisDecoderInit(&m_decoder, ZYDIS_MACHINE_MODE_LONG_64, ZYDIS_STACK_WIDTH_64);
    ZydisFormatterInit(&m_formatter, ZYDIS_FORMATTER_STYLE_INTEL);
}

bool CodeDisassembler::DecodeRaw(std::span<const std::byte> bytes,
                                 ZydisDecodedInstruction& instruction,
                                 ZydisDecodedOperand* operands) const {
    return ZYAN_SUCCESS(
        ZydisDecoderDecodeFull(&m_decoder, bytes.data(), bytes.size(), &instruction, operands));
}

bool CodeDisassembler::ReadAndDecode(std::uintptr_t address,
                                     ZydisDecodedInstruction& instruction,
                                     ZydisDecodedOperand* operands) const {
    std::array<std::byte, MaxInstructionLength> bytes{};
    const std::size_t read = TryReadPrefix(address, bytes);
    return read > 0 && DecodeRaw(std::span{bytes}.first(read), instruction, operands);
}

std::optional<TDecodedInstruction> CodeDisassembler::Decode(std::uintptr_t address,
                                                            RegisterValues* registers) const {
    std::array<std::byte, MaxInstructionLength> bytes{};
    const std::size_t read = TryReadPrefix(address, bytes);
    if (read == 0)
        return std::nullopt;
    return DecodeBytes(std::span{bytes}.first(read), address, registers);
}

std::optional<TDecodedInstruction> CodeDisassembler::DecodeBytes(std::span<const std::byte> bytes,
                                                                 std::uintptr_t address,
                                                                 RegisterValues* registers) const {
    ZydisDecodedInstruction instruction{};
    std::array<ZydisDecodedOperand, ZYDIS_MAX_OPERAND_COUNT> operands{};
    if (!DecodeRaw(bytes, instruction, operands.data()))
        return std::nullopt;
    return Describe(instruction, operands.data(), address, registers);
}

TDecodedInstruction CodeDisassembler::Describe(const ZydisDecodedInstruction& instruction,
                                               ZydisDecodedOperand* operands,
                                               std::uintptr_t address,
                                               RegisterValues* registers) const {
    TDecodedInstruction decoded;
    decoded.Address = address;
    decoded.Length = instruction.length;
    decoded.Branch = BranchKindOf(instruction);
    if ((decoded.IsCall() || decoded.IsJump()) && instruction.operand_count_visible > 0)
        FindTarget(instruction, operands[0], registers, decoded);
    if (registers != nullptr)
        CarryRegisters(instruction, operands, address, *registers);
    return decoded;
}

std::optional<std::string> CodeDisassembler::Text(std::uintptr_t address) const {
    ZydisDecodedInstruction instruction{};
    std::array<ZydisDecodedOperand, ZYDIS_MAX_OPERAND_COUNT> operands{};
    if (!ReadAndDecode(address, instruction, operands.data()))
        return std::nullopt;
    std::array<char, 256> text{};
    if (!ZYAN_SUCCESS(ZydisFormatterFormatInstruction(&m_formatter, &instruction, operands.data(),
                                                      instruction.operand_count_visible,
                                                      text.data(), text.size(), address, nullptr)))
        return std::nullopt;
    return std::string(text.data());
}

}  // namespace kestrix
