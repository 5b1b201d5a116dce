// \brief Public symbols from an ELF file's function symbols: one per code address, named by its
// procedure (demangled, split-off parts under their parent's name), as offsets from the base of
// code. Where several symbols share an address, a global one with a size is preferred.
#pragma once

#include <vector>

#include "crash/debuginfo/elf_file.h"
#include "crash/debuginfo/map_file_content.h"

namespace kestrix {

void AddFunctionPublics(MapFileContent& content,
                        std::vector<ElfFunctionSymbol> symbols,
                        const ElfImageRanges& ranges);

}  // namespace kestrix
