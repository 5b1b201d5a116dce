// \brief The single address text of a code address (the failure location, the disassembly) and
// the walker's internal error text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrix {

// 16 lower-case hexadecimal digits; without debug information " +0" (with showRelAddrs) and
// " ???"; otherwise " +" and the offset from the procedure start (with showRelAddrs), the module
// file name, the unit, the line number when there is one, "+" and the line offset from the
// procedure's first line (with showRelLines; "+0" when that line is unknown), the procedure name,
// separated by blanks.
// A line's offset from its procedure's first line: "+3"; code of a helper inlined from above the
// procedure (in the same file) lies before its first line and reads "-11".
std::string RelativeLineText(std::int32_t offset);

std::string StackAddrToStr(std::uintptr_t address, bool showRelAddrs, bool showRelLines);

// ">> internal error in " part ":", a line break, and the address text of the place that failed
// (the caller's code).
std::string InternalError(std::string_view partName, bool showRelAddrs, bool showRelLines);

// The same with the place given.
std::string InternalErrorAt(std::string_view partName,
                            std::uintptr_t failedAt,
                            bool showRelAddrs,
                            bool showRelLines);

}  // namespace kestrix
