// \brief The comments of the disassembly: the procedure a call or jump reaches, and what an
// address in an operand points at (a procedure, or bytes that read as text).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrix {

// The name of the procedure that starts at target (the debug information's or the nearest
// export's), or, for a jump stub without a name, of the procedure the stub jumps to; followed by
// " (" module ")" when that lies in another module than the reporter's. None for a name that
// starts with "(" or when nothing is known.
std::optional<std::string> TargetComment(std::uintptr_t target);

// For the first hexadecimal number of the operand text that points into a loaded module (not
// into its last 100 bytes): the procedure's name there, or the text there in single quotes; a
// number that points at a cell holding such an address stands for that address.
std::optional<std::string> OperandComment(std::string_view operands);

}  // namespace kestrix
