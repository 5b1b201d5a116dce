// \brief A report section's lines as the rows of its column view: the registers split at " = ",
// the stack dump into address, hexadecimal data and characters, the disassembling into line,
// address, code and comment, every other section by its aligned columns, where a line with cells
// left empty keeps its last cell in the last column.
#pragma once

#include <string>
#include <vector>

namespace kestrix {

std::vector<std::vector<std::string>> SectionRows(const std::string& section,
                                                  const std::vector<std::string>& lines,
                                                  std::size_t columnCount);

}  // namespace kestrix
