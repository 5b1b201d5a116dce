// \brief TFunctionInfo: what the procedure analysis found in one procedure's machine code: its code
// areas, the calls and jumps it makes to fixed targets, and those whose target is not fixed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kestrix {

enum class TCodeAreaKind {
    akCode,
    // Blocks of tables inside code; x86-64 compilers put jump tables and exception tables in
    // read-only data instead, so the analysis of this platform finds none.
    akCaseTable,
    akHandlerTable,
};

struct TCodeArea {
    std::uintptr_t First = 0;
    std::uintptr_t Last = 0;  // the last byte
    TCodeAreaKind Kind = TCodeAreaKind::akCode;

    // An address after a call in this area: above its start, at most one byte past its end.
    bool HoldsReturnAddress(std::uintptr_t address) const {
        return address > First && address <= Last + 1;
    }
    bool Contains(std::uintptr_t address) const { return address >= First && address <= Last; }
};

struct TFunctionCall {
    bool IsCall = true;  // otherwise a jump (a tail call or a jump out of the code range)
    std::uintptr_t Address = 0;
    std::uintptr_t Next = 0;
    std::uintptr_t Target = 0;
};

struct TUnknownTarget {
    bool IsCall = true;
    std::uintptr_t Address = 0;
    std::uintptr_t Next = 0;
};

inline constexpr const char* InvalidCodeText = "Invalid code!";

struct TFunctionInfo {
    bool Valid = false;
    std::string ErrorText;
    std::uintptr_t Entry = 0;
    std::uintptr_t LowestAddress = 0;
    std::size_t CodeLength = 0;
    std::vector<TCodeArea> Areas;  // sorted by address
    std::vector<TFunctionCall> Calls;
    std::vector<TUnknownTarget> UnknownTargets;

    bool HasUnknownJump() const;
    // The area that may hold the return address of a call in it (see TCodeArea).
    const TCodeArea* AreaHoldingReturnAddress(std::uintptr_t address) const;
};

}  // namespace kestrix
