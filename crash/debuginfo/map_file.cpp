// \brief The lookups of a module's debug information and its export as a container.
#include "crash/debuginfo/map_file.h"

#include <algorithm>

#include "crash/debuginfo/debug_info_container.h"
#include "crash/debuginfo/map_file_stream.h"

namespace kestrix {
namespace {

// The last entry whose address is at or below the offset.
template <typename Table, typename Projection>
std::optional<std::size_t> LastAtOrBelow(const Table& table,
                                         std::uint32_t offset,
                                         Projection projection) {
    const auto above = std::ranges::upper_bound(table, offset, {}, projection);
    if (above == table.begin()) {
        return std::nullopt;
    }
    return std::size_t(above - table.begin()) - 1;
}

void NameTheUnnamed(MapFileContent& content) {
    for (std::size_t i = 0; i < content.Segments.size(); ++i) {
        content.Segments[i].Unit = content.AddName("segment%" + std::to_string(i));
    }
    for (std::size_t i = 0; i < content.Publics.size(); ++i) {
        content.Publics[i].Name = content.AddName("public%" + std::to_string(i));
    }
}

}  // namespace

TMapFile::TMapFile(MapFileContent content, const ModuleAddresses& addresses)
    : m_valid(true), m_addresses(addresses), m_content(std::move(content)) {
    if (m_content.Minimal) {
        NameTheUnnamed(m_content);
    }
}

void TMapFile::SetFileNames(std::string moduleFileName, std::string debugInfoFileName) {
    m_moduleFileName = std::move(moduleFileName);
    m_debugInfoFileName = std::move(debugInfoFileName);
}

std::optional<std::uintptr_t> TMapFile::EntryPoint() const {
    if (!m_content.EntryPoint) {
        return std::nullopt;
    }
    return BaseOfCode() + *m_content.EntryPoint;
}

std::optional<std::uint32_t> TMapFile::CodeOffset(std::uintptr_t address) const {
    if (address < BaseOfCode() || address >= TopOfCode()) {
        return std::nullopt;
    }
    return std::uint32_t(address - BaseOfCode());
}

std::optional<std::size_t> TMapFile::SegmentIndex(std::uint32_t offset) const {
    const auto index = LastAtOrBelow(m_content.Segments, offset, &MapSegment::Start);
    if (!index) {
        return std::nullopt;
    }
    const MapSegment& segment = m_content.Segments[*index];
    return offset - segment.Start < segment.Length ? index : std::nullopt;
}

TMfSegment TMapFile::SegmentAt(std::size_t index) const {
    const MapSegment& segment = m_content.Segments[index];
    return {BaseOfCode() + segment.Start, segment.Length, m_content.Name(segment.Unit),
            segment.HasLines};
}

std::optional<TMfSegment> TMapFile::FindSegment(std::uintptr_t address) const {
    const auto offset = CodeOffset(address);
    const auto index = offset ? SegmentIndex(*offset) : std::nullopt;
    if (!index) {
        return std::nullopt;
    }
    return SegmentAt(*index);
}

std::optional<TMfPublic> TMapFile::FindPublic(std::uintptr_t address) const {
    const auto offset = CodeOffset(address);
    const auto index =
        offset ? LastAtOrBelow(m_content.Publics, *offset, &MapPublic::Address) : std::nullopt;
    if (!index) {
        return std::nullopt;
    }
    const MapPublic& symbol = m_content.Publics[*index];
    return TMfPublic{BaseOfCode() + symbol.Address, m_content.Name(symbol.Name)};
}

std::optional<TMfPublic> TMapFile::FindPublic(std::string_view unitName,
                                              std::string_view name) const {
    for (const MapPublic& symbol : m_content.Publics) {
        if (m_content.Name(symbol.Name) != name) {
            continue;
        }
        const auto segment = SegmentIndex(symbol.Address);
        if (segment && m_content.Name(m_content.Segments[*segment].Unit) == unitName) {
            return TMfPublic{BaseOfCode() + symbol.Address, m_content.Name(symbol.Name)};
        }
    }
    return std::nullopt;
}

TMfLine TMapFile::FindLine(std::uintptr_t address) const {
    const auto offset = CodeOffset(address);
    if (!offset) {
        return {};
    }
    const auto segment = SegmentIndex(*offset);
    if (m_content.Lines.empty()) {
        return {segment && m_content.Segments[*segment].HasLines ? -1 : 0, 0};
    }
    const auto index = LastAtOrBelow(m_content.Lines, *offset, &MapLine::Address);
    if (!index || !segment) {
        return {};
    }
    const MapSegment& unit = m_content.Segments[*segment];
    const MapLine& line = m_content.Lines[*index];
    if (line.Address < unit.Start) {
        return {};
    }
    const std::uintptr_t next = *index + 1 < m_content.Lines.size()
                                    ? BaseOfCode() + m_content.Lines[*index + 1].Address
                                    : TopOfCode();
    return {line.Line, next};
}

MapFileInfos TMapFile::GetMapFileInfos(std::uintptr_t address) const {
    MapFileInfos infos;
    if (!m_valid || !CodeOffset(address)) {
        return infos;
    }
    infos.Found = true;
    infos.ModuleFileName = m_moduleFileName;
    if (const auto segment = FindSegment(address)) {
        infos.UnitName = segment->UnitName;
    }
    infos.Line = std::max(FindLine(address).Line, 0);
    if (const auto symbol = FindPublic(address)) {
        infos.ProcedureStart = symbol->Address;
        infos.ProcedureName = symbol->Name;
    }
    return infos;
}

std::string TMapFile::Export(int version, bool minimal) const {
    return WriteDebugInfoContainer(WriteMapFileStream(m_content, minimal), version, minimal);
}

}  // namespace kestrix
