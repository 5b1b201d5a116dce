// \brief The "disassembling" section: the listing of the procedure that holds the failure
// location, built from the procedure analysis.
//
// Addresses have 16 digits here, so every column of the listing that is counted from the start of
// a line (the operands, the comments) lies 8 characters further right than with 8-digit
// addresses; the label and table texts keep their own widths.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "crash/stack/function_info.h"

namespace kestrix {

struct TDisAsmOptions {
    bool FormatDisAsm = true;
    int LimitDisAsm = 5;  // lines kept around the marked one; 0: all
};

inline constexpr std::string_view DisAsmInternalErrorText =
    "Internal error in ParseFunction while composing the disassembling string...  :-(";

// The listing of the procedure that starts at procedureStart, with the instruction at
// itemAddress marked by ">". Any failure gives the internal error text.
std::string GetCleartextDisAsm(std::uintptr_t procedureStart,
                               std::uintptr_t itemAddress,
                               const TDisAsmOptions& options);

// The listing of an analysis already made; procedureName names the entry ("sub_" and its
// address when empty).
std::string ComposeDisAsm(const TFunctionInfo& info,
                          std::string_view procedureName,
                          std::uintptr_t itemAddress,
                          const TDisAsmOptions& options);

}  // namespace kestrix
