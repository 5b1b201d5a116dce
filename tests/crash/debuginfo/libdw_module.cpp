// \brief libdw offline session over one ELF file, for comparing lookups with.
#include "libdw_module.h"

#include <dwarf.h>
#include <elfutils/libdw.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "crash/debuginfo/symbol_names.h"

namespace kestrix::test {
namespace {

const Dwfl_Callbacks OfflineCallbacks = {
    .find_elf = dwfl_build_id_find_elf,
    .find_debuginfo = dwfl_standard_find_debuginfo,
    .section_address = dwfl_offline_section_address,
    .debuginfo_path = nullptr,
};

std::string NormalPath(const char* folder, const char* file) {
    return (std::filesystem::path(folder) / file).lexically_normal().string();
}

std::string UnitSourcePath(Dwarf_Die* unit) {
    Dwarf_Attribute attribute;
    const char* folder = dwarf_formstring(dwarf_attr(unit, DW_AT_comp_dir, &attribute));
    const char* name = dwarf_diename(unit);
    return name != nullptr ? NormalPath(folder != nullptr ? folder : "", name) : std::string();
}

bool IsFile(const char* file, const std::string& path) {
    return file != nullptr && !path.empty() && NormalPath("", file) == path;
}

// The line of the nearest row of the unit's own file before `row` in its sequence (0 if none).
int OwnLineBefore(Dwarf_Die* unit, const std::string& ownPath, Dwarf_Line* row) {
    Dwarf_Lines* lines = nullptr;
    std::size_t count = 0;
    if (dwarf_getsrclines(unit, &lines, &count) != 0) {
        return 0;
    }
    Dwarf_Addr rowAddress = 0;
    dwarf_lineaddr(row, &rowAddress);
    // The rows are sorted by address: search the first at the row's address, then the row.
    std::size_t low = 0;
    std::size_t high = count;
    while (low < high) {
        const std::size_t middle = (low + high) / 2;
        Dwarf_Addr address = 0;
        dwarf_lineaddr(dwarf_onesrcline(lines, middle), &address);
        if (address < rowAddress) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    std::size_t index = low;
    while (index < count && dwarf_onesrcline(lines, index) != row) {
        ++index;
    }
    while (index-- > 0) {
        Dwarf_Line* line = dwarf_onesrcline(lines, index);
        bool end = false;
        int number = 0;
        if (dwarf_lineendsequence(line, &end) != 0 || end) {
            return 0;
        }
        if (IsFile(dwarf_linesrc(line, nullptr, nullptr), ownPath) &&
            dwarf_lineno(line, &number) == 0) {
            return number;
        }
    }
    return 0;
}

}  // namespace

LibdwModule::LibdwModule(const std::string& path) : m_dwfl(dwfl_begin(&OfflineCallbacks)) {
    m_module = dwfl_report_offline(m_dwfl, "", path.c_str(), -1);
    dwfl_report_end(m_dwfl, nullptr, nullptr);
    if (m_module == nullptr) {
        dwfl_end(m_dwfl);
        throw std::runtime_error("libdw cannot open " + path);
    }
    GElf_Addr bias = 0;
    dwfl_module_getelf(m_module, &bias);
    m_bias = bias;
    Dwarf_Addr unitBias = 0;
    for (Dwarf_Die* unit = dwfl_module_nextcu(m_module, nullptr, &unitBias); unit != nullptr;
         unit = dwfl_module_nextcu(m_module, unit, &unitBias)) {
        Dwarf_Lines* lines = nullptr;
        std::size_t count = 0;
        if (dwarf_getsrclines(unit, &lines, &count) != 0) {
            continue;
        }
        for (std::size_t i = 0; i < count; ++i) {
            Dwarf_Line* line = dwarf_onesrcline(lines, i);
            bool end = false;
            Dwarf_Addr address = 0;
            if (dwarf_lineendsequence(line, &end) == 0 && end &&
                dwarf_lineaddr(line, &address) == 0) {
                m_sequenceEnds.push_back(address + unitBias);
            }
        }
    }
    std::ranges::sort(m_sequenceEnds);
}

LibdwModule::~LibdwModule() {
    dwfl_end(m_dwfl);
}

void LibdwModule::ForEachFunction(
    const std::function<void(std::uint64_t, std::uint64_t)>& visit) const {
    const int count = dwfl_module_getsymtab(m_module);
    for (int i = 0; i < count; ++i) {
        GElf_Sym symbol;
        GElf_Addr address = 0;
        GElf_Word section = 0;
        if (dwfl_module_getsym_info(m_module, i, &symbol, &address, &section, nullptr, nullptr) ==
            nullptr) {
            continue;
        }
        if (GELF_ST_TYPE(symbol.st_info) == STT_FUNC && symbol.st_size > 0 &&
            symbol.st_shndx != SHN_UNDEF) {
            visit(address - m_bias, symbol.st_size);
        }
    }
}

std::optional<std::string> LibdwModule::SymbolName(std::uint64_t address) const {
    GElf_Off offset = 0;
    GElf_Sym symbol;
    const char* name = dwfl_module_addrinfo(m_module, address + m_bias, &offset, &symbol, nullptr,
                                            nullptr, nullptr);
    return name != nullptr ? std::optional<std::string>(name) : std::nullopt;
}

std::optional<std::string> LibdwModule::UnitPath(std::uint64_t address) const {
    Dwarf_Addr bias = 0;
    Dwarf_Die* unit = dwfl_module_addrdie(m_module, address + m_bias, &bias);
    // libdw answers the nearest unit below for code that no unit covers; only a unit whose ranges
    // hold the address counts.
    if (unit == nullptr || dwarf_haspc(unit, address + m_bias - bias) != 1) {
        return std::nullopt;
    }
    const char* name = dwarf_diename(unit);
    return name != nullptr ? std::optional<std::string>(name) : std::nullopt;
}

bool LibdwModule::UnitHolds(std::string_view unitName, std::uint64_t address) const {
    Dwarf_Addr bias = 0;
    for (Dwarf_Die* unit = dwfl_module_nextcu(m_module, nullptr, &bias); unit != nullptr;
         unit = dwfl_module_nextcu(m_module, unit, &bias)) {
        const char* name = dwarf_diename(unit);
        if (name != nullptr && UnitName(name) == unitName &&
            dwarf_haspc(unit, address + m_bias - bias) == 1) {
            return true;
        }
    }
    return false;
}

std::size_t LibdwModule::UnitsHolding(std::uint64_t address) const {
    std::size_t count = 0;
    Dwarf_Addr bias = 0;
    for (Dwarf_Die* unit = dwfl_module_nextcu(m_module, nullptr, &bias); unit != nullptr;
         unit = dwfl_module_nextcu(m_module, unit, &bias)) {
        count += dwarf_haspc(unit, address + m_bias - bias) == 1 ? 1 : 0;
    }
    return count;
}

int LibdwModule::Line(std::uint64_t address, std::uint64_t functionStart) const {
    Dwfl_Line* line = dwfl_module_getsrc(m_module, address + m_bias);
    Dwarf_Addr rowAddress = 0;
    int number = 0;
    if (line == nullptr ||
        dwfl_lineinfo(line, &rowAddress, &number, nullptr, nullptr, nullptr) == nullptr) {
        return 0;
    }
    if (rowAddress < functionStart + m_bias) {
        const auto end = std::ranges::upper_bound(m_sequenceEnds, rowAddress);
        if (end != m_sequenceEnds.end() && *end <= address + m_bias) {
            return 0;
        }
    }
    return number;
}

int LibdwModule::OwnFileLine(std::uint64_t address, std::uint64_t functionStart) const {
    const int line = Line(address, functionStart);
    Dwfl_Line* row = dwfl_module_getsrc(m_module, address + m_bias);
    if (line == 0 || row == nullptr) {
        return line;
    }
    const auto known = m_ownFileLines.find(row);
    if (known != m_ownFileLines.end()) {
        return known->second;
    }
    Dwarf_Addr unitBias = 0;
    Dwarf_Die* unit = dwfl_module_addrdie(m_module, address + m_bias, &unitBias);
    const char* file = dwfl_lineinfo(row, nullptr, nullptr, nullptr, nullptr, nullptr);
    if (unit == nullptr) {
        return line;
    }
    const std::string ownPath = UnitSourcePath(unit);
    int ownLine = line;
    if (!IsFile(file, ownPath)) {
        Dwarf_Addr rowBias = 0;
        ownLine = OwnLineBefore(unit, ownPath, dwfl_dwarf_line(row, &rowBias));
    }
    m_ownFileLines.emplace(row, ownLine);
    return ownLine;
}

}  // namespace kestrix::test
