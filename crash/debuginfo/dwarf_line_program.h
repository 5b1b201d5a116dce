// \brief Reads the line programs of an ELF file's ".debug_line" section (DWARF versions 2 to 5, 32-
// and 64-bit forms) into line rows, for modules that carry DWARF but no embedded container. Only
// addresses, lines and sequence ends are kept; the file tables are skipped through the header
// length. A damaged program throws DebugInfoFormatError.
#pragma once

#include <string_view>

#include "crash/debuginfo/line_rows.h"

namespace kestrix {

void ReadDwarfLinePrograms(std::string_view debugLine, LineRows& rows);

}  // namespace kestrix
