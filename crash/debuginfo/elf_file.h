// \brief A read-only view of an ELF64 file on disk: its loaded segments, its entry point, one
// section's bytes by name and its function symbols. Only what a section asks for is read, so a
// large executable with full DWARF costs a few small reads. Every offset and size in the file is
// checked against the file before it is used; a damaged file gives DebugInfoFormatError.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrix {

struct ElfLoadSegment {
    std::uint64_t Address = 0;
    std::uint64_t Size = 0;
    bool Executable = false;
    bool Writable = false;
};

struct ElfFunctionSymbol {
    std::uint64_t Address = 0;
    std::uint64_t Size = 0;
    bool Global = false;
    std::string Name;
};

// The link-time ranges of code (the executable load segments) and data (the writable ones).
struct ElfImageRanges {
    std::uint64_t BaseOfCode = 0;
    std::uint64_t TopOfCode = 0;
    std::uint64_t BaseOfData = 0;
    std::uint64_t TopOfData = 0;
    std::uint64_t EntryPoint = 0;
};

class ElfFile {
  public:
    explicit ElfFile(const std::string& path);
    ~ElfFile();
    ElfFile(const ElfFile&) = delete;
    ElfFile& operator=(const ElfFile&) = delete;

    const std::vector<ElfLoadSegment>& LoadSegments() const { return m_segments; }
    ElfImageRanges Ranges() const;

    // A compressed section (SHF_COMPRESSED) gives DebugInfoFormatError.
    std::optional<std::string> Section(std::string_view name) const;

    // The defined function symbols of the full symbol table (none in a stripped file).
    std::vector<ElfFunctionSymbol> FunctionSymbols() const;

  private:
    struct SectionHeader {
        std::uint32_t Name = 0;
        std::uint32_t Type = 0;
        std::uint64_t Flags = 0;
        std::uint64_t Offset = 0;
        std::uint64_t Size = 0;
        std::uint32_t Link = 0;
    };

    std::string Read(std::uint64_t offset, std::uint64_t size) const;
    std::string SectionBytes(const SectionHeader& header) const;

    int m_descriptor = -1;
    std::uint64_t m_fileSize = 0;
    std::uint64_t m_entry = 0;
    std::vector<ElfLoadSegment> m_segments;
    std::vector<SectionHeader> m_sections;
    std::string m_sectionNames;
};

}  // namespace kestrix
