// \brief Collects the rows of DWARF line programs into a module's line table: a row gives its line
// from its address on; the end of a sequence becomes an entry without a line (0), so that code
// after it takes no line from the sequence before, unless another row starts right there. Rows
// outside the code are left out (the linker leaves discarded functions' rows at 0).
#pragma once

#include <cstdint>
#include <set>

#include "crash/debuginfo/elf_file.h"
#include "crash/debuginfo/map_file_content.h"

namespace kestrix {

class LineRows {
  public:
    explicit LineRows(const ElfImageRanges& ranges) : m_ranges(ranges) {}

    void Add(std::uint64_t address, std::int32_t line, bool endOfSequence);

    // Appends the entries to the content's line table (unsorted).
    void MoveInto(MapFileContent& content);

  private:
    ElfImageRanges m_ranges;
    std::vector<MapLine> m_lines;
    std::set<std::uint32_t> m_rowAddresses;
    std::set<std::uint32_t> m_sequenceEnds;
};

}  // namespace kestrix
