// \brief Decoding back from a return address.
#include "crash/core/raise_address.h"

#include <optional>

#include "crash/stack/code_disassembler.h"

namespace kestrix {
namespace {

constexpr std::uintptr_t DirectCallLength = 5;

std::optional<std::uintptr_t> CallEndingAt(const CodeDisassembler& disassembler,
                                           std::uintptr_t returnAddress,
                                           std::uintptr_t length) {
    if (length > returnAddress) {
        return std::nullopt;
    }
    const auto instruction = disassembler.Decode(returnAddress - length);
    if (instruction && instruction->IsCall() && instruction->Next() == returnAddress) {
        return instruction->Address;
    }
    return std::nullopt;
}

}  // namespace

std::uintptr_t CallInstructionBefore(std::uintptr_t returnAddress) {
    const CodeDisassembler disassembler;
    // A direct call first, as code enters the throw path; the bytes of its displacement could
    // also read as a shorter indirect call. Then every other length of a call, prefixes included.
    if (const auto start = CallEndingAt(disassembler, returnAddress, DirectCallLength)) {
        return *start;
    }
    for (std::uintptr_t length = 2; length <= MaxInstructionLength; ++length) {
        if (length == DirectCallLength) {
            continue;
        }
        if (const auto start = CallEndingAt(disassembler, returnAddress, length)) {
            return *start;
        }
    }
    return returnAddress;
}

}  // namespace kestrix
