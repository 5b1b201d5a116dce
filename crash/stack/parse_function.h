// \brief ParseFunction: the procedure analysis. From the entry address it follows the flow of
// control through the machine code and collects the code areas, the calls and jumps with fixed
// targets and those whose target is not fixed.
//
// Where the procedure's symbol gives its extent, the bytes of the extent that the traversal did
// not reach are decoded as further areas: they hold the landing pads of the exception table and
// the targets of jump tables (which x86-64 compilers keep in read-only data), both of which the
// flow of control reaches only through the runtime or a register. Without an extent the gap rule
// applies: while jumps with unknown targets remain, the first gap behind the code that runs
// without gaps from the lowest area is decoded, as long as less than 1024 bytes lie between it
// and the end of the code.
#pragma once

#include <cstdint>
#include <optional>

#include "crash/stack/code_disassembler.h"
#include "crash/stack/function_info.h"

namespace kestrix {

struct TParseRange {
    // The code range of the module: [CodeStart, CodeEnd).
    std::uintptr_t CodeStart = 0;
    std::uintptr_t CodeEnd = 0;
    // The end of the procedure's symbol, when known: jumps beyond [entry, ExtentEnd) are calls.
    std::optional<std::uintptr_t> ExtentEnd;
};

inline constexpr std::size_t GapRuleSpan = 1024;

TFunctionInfo ParseFunction(const CodeDisassembler& disassembler,
                            std::uintptr_t entry,
                            const TParseRange& range);

}  // namespace kestrix
