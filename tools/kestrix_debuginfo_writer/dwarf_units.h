// \brief The compile units of a linked ELF file read through libdw: each unit's address ranges as
// segments named by its source file, and its line table.
#pragma once

#include <string>

#include "crash/debuginfo/elf_file.h"
#include "crash/debuginfo/map_file_content.h"

namespace kestrix {

// Adds the segments and line entries of the file's DWARF (nothing when it has none). Only code
// between the base and top of code counts: the linker leaves discarded functions' ranges at 0.
void AddDwarfUnits(MapFileContent& content, const std::string& path, const ElfImageRanges& ranges);

// Drops a line entry that repeats the line of the entry before it in the same segment: the
// repeated rows (another column, a statement boundary) change no lookup, and dropping them makes
// the line table smaller and quicker to load. Needs sorted tables.
void DropRepeatedLines(MapFileContent& content);

}  // namespace kestrix
