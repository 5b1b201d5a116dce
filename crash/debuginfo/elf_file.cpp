// \brief Reading ELF64 headers, sections and symbols from a file with bounded reads.
#include "crash/debuginfo/elf_file.h"

#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

#include "crash/debuginfo/packed_stream.h"

namespace kestrix {
namespace {

template <typename T>
T ReadRecord(std::string_view bytes, std::size_t offset) {
    T record;
    std::memcpy(&record, bytes.data() + offset, sizeof record);
    return record;
}

std::string_view NameAt(std::string_view table, std::uint64_t offset) {
    if (offset >= table.size()) {
        return {};
    }
    const std::string_view rest = table.substr(std::size_t(offset));
    return rest.substr(0, rest.find('\0'));
}

DebugInfoFormatError NotElfFile(const std::string& path) {
    return DebugInfoFormatError(path + " is not a 64-bit little-endian ELF file");
}

}  // namespace

ElfFile::ElfFile(const std::string& path) {
    m_descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_descriptor < 0) {
        throw DebugInfoFormatError("cannot open " + path + ": " + std::strerror(errno));
    }
    struct stat status {};
    if (::fstat(m_descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(m_descriptor);
        throw DebugInfoFormatError(path + " is not a regular file");
    }
    m_fileSize = std::uint64_t(status.st_size);
    try {
        if (m_fileSize < sizeof(Elf64_Ehdr)) {
            throw NotElfFile(path);
        }
        const std::string identBytes = Read(0, sizeof(Elf64_Ehdr));
        const auto header = ReadRecord<Elf64_Ehdr>(identBytes, 0);
        if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
            header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_ident[EI_DATA] != ELFDATA2LSB ||
            header.e_phentsize != sizeof(Elf64_Phdr) ||
            (header.e_shnum != 0 && header.e_shentsize != sizeof(Elf64_Shdr))) {
            throw NotElfFile(path);
        }
        m_entry = header.e_entry;
        const std::string programHeaders =
            Read(header.e_phoff, std::uint64_t(header.e_phnum) * sizeof(Elf64_Phdr));
        for (std::size_t i = 0; i < header.e_phnum; ++i) {
            const auto segment = ReadRecord<Elf64_Phdr>(programHeaders, i * sizeof(Elf64_Phdr));
            if (segment.p_type == PT_LOAD) {
                m_segments.push_back({segment.p_vaddr, segment.p_memsz,
                                      (segment.p_flags & PF_X) != 0,
                                      (segment.p_flags & PF_W) != 0});
            }
        }
        const std::string sectionHeaders =
            Read(header.e_shoff, std::uint64_t(header.e_shnum) * sizeof(Elf64_Shdr));
        for (std::size_t i = 0; i < header.e_shnum; ++i) {
            const auto section = ReadRecord<Elf64_Shdr>(sectionHeaders, i * sizeof(Elf64_Shdr));
            m_sections.push_back({section.sh_name, section.sh_type, section.sh_flags,
                                  section.sh_offset, section.sh_size, section.sh_link});
        }
        if (header.e_shstrndx < m_sections.size()) {
            m_sectionNames = SectionBytes(m_sections[header.e_shstrndx]);
        }
    } catch (...) {
        ::close(m_descriptor);
        throw;
    }
}

ElfFile::~ElfFile() {
    ::close(m_descriptor);
}

std::string ElfFile::Read(std::uint64_t offset, std::uint64_t size) const {
    if (offset > m_fileSize || size > m_fileSize - offset) {
        throw DebugInfoFormatError("ELF file is shorter than its headers say");
    }
    std::string bytes(std::size_t(size), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got =
            ::pread(m_descriptor, bytes.data() + done, bytes.size() - done, off_t(offset + done));
        if (got <= 0) {
            if (got < 0 && errno == EINTR) {
                continue;
            }
            throw DebugInfoFormatError("cannot read the ELF file");
        }
        done += std::size_t(got);
    }
    return bytes;
}

std::string ElfFile::SectionBytes(const SectionHeader& header) const {
    return header.Type == SHT_NOBITS ? std::string() : Read(header.Offset, header.Size);
}

ElfImageRanges ElfFile::Ranges() const {
    ElfImageRanges ranges;
    ranges.BaseOfCode = std::numeric_limits<std::uint64_t>::max();
    ranges.BaseOfData = std::numeric_limits<std::uint64_t>::max();
    for (const ElfLoadSegment& segment : m_segments) {
        if (segment.Executable) {
            ranges.BaseOfCode = std::min(ranges.BaseOfCode, segment.Address);
            ranges.TopOfCode = std::max(ranges.TopOfCode, segment.Address + segment.Size);
        }
        if (segment.Writable) {
            ranges.BaseOfData = std::min(ranges.BaseOfData, segment.Address);
            ranges.TopOfData = std::max(ranges.TopOfData, segment.Address + segment.Size);
        }
    }
    if (ranges.TopOfCode == 0) {
        throw DebugInfoFormatError("ELF file has no code segment");
    }
    if (ranges.TopOfData == 0) {
        ranges.BaseOfData = 0;
    }
    ranges.EntryPoint = m_entry;
    return ranges;
}

std::optional<std::string> ElfFile::Section(std::string_view name) const {
    for (const SectionHeader& section : m_sections) {
        if (NameAt(m_sectionNames, section.Name) == name) {
            if ((section.Flags & SHF_COMPRESSED) != 0) {
                throw DebugInfoFormatError("section " + std::string(name) + " is compressed");
            }
            return SectionBytes(section);
        }
    }
    return std::nullopt;
}

std::vector<ElfFunctionSymbol> ElfFile::FunctionSymbols() const {
    std::vector<ElfFunctionSymbol> functions;
    for (const SectionHeader& table : m_sections) {
        if (table.Type != SHT_SYMTAB || table.Link >= m_sections.size()) {
            continue;
        }
        const std::string symbols = SectionBytes(table);
        const std::string names = SectionBytes(m_sections[table.Link]);
        for (std::size_t at = 0; at + sizeof(Elf64_Sym) <= symbols.size();
             at += sizeof(Elf64_Sym)) {
            const auto symbol = ReadRecord<Elf64_Sym>(symbols, at);
            if (ELF64_ST_TYPE(symbol.st_info) != STT_FUNC || symbol.st_shndx == SHN_UNDEF) {
                continue;
            }
            functions.push_back({symbol.st_value, symbol.st_size,
                                 ELF64_ST_BIND(symbol.st_info) != STB_LOCAL,
                                 std::string(NameAt(names, symbol.st_name))});
        }
    }
    return functions;
}

}  // namespace kestrix
