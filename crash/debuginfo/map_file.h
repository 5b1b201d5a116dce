// \brief TMapFile: one module's debug information with its lookups, all binary searches over
// tables sorted by offset from the module's base of code.
//
// Lookup rules: an address belongs to the segment with start <= address < start + length; to the
// public symbol at or below it, up to the next symbol's address (the last symbol reaches up to the
// top of code); and to the line entry at or below it, up to the next entry (the last up to the top
// of code), but only when that entry lies in the segment of the address, so that a line of another
// unit is never reported. A module without any line table gives line -1 inside a segment flagged
// as having lines and 0 otherwise.
//
// Minimal information carries no names: segments read as "segment%" and their index, public
// symbols as "public%" and their index, and `MinDebugInfo` holds the identification of the full
// information that lies apart in a ".kes" file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "crash/debuginfo/map_file_content.h"

namespace kestrix {

struct TMfSegment {
    std::uintptr_t Start = 0;
    std::uint32_t Length = 0;
    std::string_view UnitName;
    bool HasLines = false;
};

struct TMfPublic {
    std::uintptr_t Address = 0;
    std::string_view Name;
};

struct TMfLine {
    std::int32_t Line = 0;
    // Where the next line's code starts (the top of code after the last entry); 0 without a line.
    std::uintptr_t NextLineAddress = 0;
};

// What a report needs of one address (GetMapFileInfos).
struct MapFileInfos {
    bool Found = false;
    std::string ModuleFileName;
    std::string UnitName;
    std::int32_t Line = 0;
    std::uintptr_t ProcedureStart = 0;
    std::string ProcedureName;
};

// Where a module lies: its handle and the ranges of its image as loaded.
struct ModuleAddresses {
    std::uintptr_t Module = 0;
    std::uintptr_t BaseOfCode = 0;
    std::uintptr_t TopOfCode = 0;
    std::uintptr_t BaseOfData = 0;
    std::uintptr_t TopOfData = 0;
};

class TMapFile {
  public:
    // An invalid TMapFile: no information for the module.
    TMapFile() = default;
    TMapFile(MapFileContent content, const ModuleAddresses& addresses);

    bool Valid() const { return m_valid; }
    std::uintptr_t Module() const { return m_addresses.Module; }
    const ModuleAddresses& Addresses() const { return m_addresses; }
    std::uintptr_t BaseOfCode() const { return m_addresses.BaseOfCode; }
    std::uintptr_t TopOfCode() const { return m_addresses.TopOfCode; }
    std::optional<std::uintptr_t> EntryPoint() const;

    const std::string& ModuleFileName() const { return m_moduleFileName; }
    const std::string& DebugInfoFileName() const { return m_debugInfoFileName; }
    const std::string& MinDebugInfo() const { return m_minDebugInfo; }
    void SetFileNames(std::string moduleFileName, std::string debugInfoFileName);
    void SetMinDebugInfo(std::string identification) { m_minDebugInfo = std::move(identification); }

    const MapFileContent& Content() const { return m_content; }

    std::optional<TMfSegment> FindSegment(std::uintptr_t address) const;
    std::optional<TMfPublic> FindPublic(std::uintptr_t address) const;
    std::optional<TMfPublic> FindPublic(std::string_view unitName, std::string_view name) const;
    TMfLine FindLine(std::uintptr_t address) const;
    MapFileInfos GetMapFileInfos(std::uintptr_t address) const;

    // The container of this information (version 2 or 3), with or without names.
    std::string Export(int version, bool minimal) const;

  private:
    std::optional<std::uint32_t> CodeOffset(std::uintptr_t address) const;
    std::optional<std::size_t> SegmentIndex(std::uint32_t offset) const;
    TMfSegment SegmentAt(std::size_t index) const;

    bool m_valid = false;
    ModuleAddresses m_addresses;
    MapFileContent m_content;
    std::string m_moduleFileName;
    std::string m_debugInfoFileName;
    std::string m_minDebugInfo;
};

}  // namespace kestrix
