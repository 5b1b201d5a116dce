// \brief Units, segments and line entries from DWARF through libdw.
#include "dwarf_units.h"

#include <dwarf.h>
#include <elfutils/libdw.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "crash/debuginfo/line_rows.h"
#include "crash/debuginfo/symbol_names.h"

namespace kestrix {
namespace {

class DwarfHandle {
  public:
    explicit DwarfHandle(const std::string& path)
        : m_descriptor(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        if (m_descriptor < 0) {
            throw std::runtime_error("cannot open " + path);
        }
        m_dwarf = dwarf_begin(m_descriptor, DWARF_C_READ);
    }
    ~DwarfHandle() {
        if (m_dwarf != nullptr) {
            dwarf_end(m_dwarf);
        }
        ::close(m_descriptor);
    }
    DwarfHandle(const DwarfHandle&) = delete;
    DwarfHandle& operator=(const DwarfHandle&) = delete;

    Dwarf* Get() const { return m_dwarf; }

  private:
    int m_descriptor;
    Dwarf* m_dwarf = nullptr;
};

// A unit's own source file, to tell its own line rows from rows of code it inlined from headers.
class UnitFile {
  public:
    explicit UnitFile(Dwarf_Die& unit) {
        const char* name = dwarf_diename(&unit);
        Dwarf_Attribute attribute;
        const char* folder = dwarf_formstring(dwarf_attr(&unit, DW_AT_comp_dir, &attribute));
        if (name != nullptr) {
            m_path = Normal(folder != nullptr ? folder : "", name);
        }
    }

    bool Is(const char* file) const {
        return file != nullptr && !m_path.empty() && Normal("", file) == m_path;
    }

  private:
    static std::string Normal(const char* folder, const char* file) {
        return (std::filesystem::path(folder) / file).lexically_normal().string();
    }

    std::string m_path;
};

struct UnitReader {
    MapFileContent& Content;
    const ElfImageRanges& Ranges;
    LineRows Rows{Ranges, TLineRowOrder::SortedByAddress};

    bool InCode(Dwarf_Addr address) const {
        return address >= Ranges.BaseOfCode && address < Ranges.TopOfCode;
    }
    std::uint32_t Offset(Dwarf_Addr address) const {
        return std::uint32_t(address - Ranges.BaseOfCode);
    }

    // A row of code inlined from another file (a header) gets the line of the unit's own file
    // before it in the same sequence: the statement that the inlined code belongs to (0 when
    // there is none, as in a header's function compiled out of line). A report names the unit
    // and a line of it, so a header's line there would point into the unit at a line that has
    // nothing to do with the code; and the rows that then repeat a line merge into one.
    bool AddLines(Dwarf_Die& unit) {
        Dwarf_Lines* lines = nullptr;
        std::size_t count = 0;
        if (dwarf_getsrclines(&unit, &lines, &count) != 0 || count == 0) {
            return false;
        }
        const UnitFile ownFile(unit);
        int ownLine = 0;
        for (std::size_t i = 0; i < count; ++i) {
            Dwarf_Line* line = dwarf_onesrcline(lines, i);
            Dwarf_Addr address = 0;
            int number = 0;
            bool end = false;
            if (dwarf_lineaddr(line, &address) != 0 || dwarf_lineno(line, &number) != 0 ||
                dwarf_lineendsequence(line, &end) != 0) {
                continue;
            }
            if (end) {
                ownLine = 0;
            } else if (ownFile.Is(dwarf_linesrc(line, nullptr, nullptr))) {
                ownLine = number;
            } else {
                number = ownLine;
            }
            Rows.Add(address, number, end);
        }
        return true;
    }

    void AddUnit(Dwarf_Die& unit) {
        const char* name = dwarf_diename(&unit);
        const PooledName unitName = Content.AddName(UnitName(name != nullptr ? name : ""));
        const bool hasLines = AddLines(unit);
        Dwarf_Addr base = 0;
        Dwarf_Addr start = 0;
        Dwarf_Addr end = 0;
        for (ptrdiff_t next = 0; (next = dwarf_ranges(&unit, next, &base, &start, &end)) > 0;) {
            if (InCode(start) && end > start && end <= Ranges.TopOfCode) {
                Content.Segments.push_back(
                    {Offset(start), std::uint32_t(end - start), unitName, hasLines});
            }
        }
    }

    // Segments must not overlap for the lookup by start address. Code that several units list
    // (one kept copy of an inline function that each of them compiled) goes to the first of them;
    // a unit's ranges that touch are one segment, so that the segment check of a line lookup sees
    // a function and the split-off part right behind it as one stretch of the unit.
    void MakeSegmentsDisjoint() {
        std::ranges::stable_sort(Content.Segments, {}, &MapSegment::Start);
        std::vector<MapSegment> disjoint;
        for (MapSegment segment : Content.Segments) {
            if (!disjoint.empty()) {
                MapSegment& last = disjoint.back();
                const std::uint32_t lastEnd = last.Start + last.Length;
                if (segment.Start + segment.Length <= lastEnd) {
                    continue;
                }
                if (segment.Start < lastEnd) {
                    segment.Length -= lastEnd - segment.Start;
                    segment.Start = lastEnd;
                }
                if (last.Unit.Offset == segment.Unit.Offset && lastEnd == segment.Start) {
                    last.Length += segment.Length;
                    continue;
                }
            }
            disjoint.push_back(segment);
        }
        Content.Segments = std::move(disjoint);
    }
};

const MapSegment* SegmentOf(const MapFileContent& content, std::uint32_t offset) {
    const auto above = std::ranges::upper_bound(content.Segments, offset, {}, &MapSegment::Start);
    if (above == content.Segments.begin()) {
        return nullptr;
    }
    const MapSegment& segment = *(above - 1);
    return offset - segment.Start < segment.Length ? &segment : nullptr;
}

}  // namespace

void DropRepeatedLines(MapFileContent& content) {
    std::vector<MapLine> kept;
    kept.reserve(content.Lines.size());
    for (const MapLine& line : content.Lines) {
        if (!kept.empty() && kept.back().Line == line.Line &&
            SegmentOf(content, kept.back().Address) == SegmentOf(content, line.Address)) {
            continue;
        }
        kept.push_back(line);
    }
    content.Lines = std::move(kept);
}

void AddDwarfUnits(MapFileContent& content, const std::string& path, const ElfImageRanges& ranges) {
    const DwarfHandle dwarf(path);
    if (dwarf.Get() == nullptr) {
        return;
    }
    UnitReader reader{content, ranges};
    Dwarf_CU* unit = nullptr;
    Dwarf_Die unitDie;
    std::uint8_t unitType = 0;
    while (dwarf_get_units(dwarf.Get(), unit, &unit, nullptr, &unitType, &unitDie, nullptr) == 0) {
        if (unitType == DW_UT_compile || unitType == DW_UT_partial) {
            reader.AddUnit(unitDie);
        }
    }
    reader.Rows.MoveInto(content);
    reader.MakeSegmentsDisjoint();
}

}  // namespace kestrix
