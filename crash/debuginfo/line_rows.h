// \brief Collects the rows of DWARF line programs into a module's line table: a row gives its line
// from its address on; the end of a sequence becomes an entry without a line (0), so that code
// after it takes no line from the sequence before, unless another row starts right there. Rows
// outside the code are left out (the linker leaves discarded functions' rows at 0).
//
// An inline function that several units compiled is linked once, from the first of them, but
// the linker may point every unit's rows for it at that one copy. The copies need not be the same
// code, so in a line program's own order only the first sequence that covers an address
// describes it: a later sequence that overlaps one already taken is dropped whole. Rows sorted by
// address (a unit's rows as libdw gives them) no longer tell their sequences apart and are all
// taken.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <span>
#include <vector>

#include "crash/debuginfo/elf_file.h"
#include "crash/debuginfo/map_file_content.h"

namespace kestrix {

enum class TLineRowOrder {
    ProgramOrder,     // sequence by sequence, each closed by its end
    SortedByAddress,  // sorted by address, the sequence ends among them
};

class LineRows {
  public:
    LineRows(const ElfImageRanges& ranges, TLineRowOrder order)
        : m_ranges(ranges), m_order(order) {}

    void Add(std::uint64_t address, std::int32_t line, bool endOfSequence);

    // Appends the entries to the content's line table (unsorted).
    void MoveInto(MapFileContent& content);

  private:
    bool OverlapsTaken(std::uint32_t start, std::uint32_t end) const;
    void Take(std::span<const MapLine> rows);

    ElfImageRanges m_ranges;
    TLineRowOrder m_order;
    std::vector<MapLine> m_sequence;  // the rows of the sequence being read
    std::vector<MapLine> m_lines;
    std::set<std::uint32_t> m_rowAddresses;
    std::set<std::uint32_t> m_sequenceEnds;
    std::map<std::uint32_t, std::uint32_t> m_taken;  // the sequences taken: start -> end
};

}  // namespace kestrix
