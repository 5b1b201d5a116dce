// \brief The judge of the debug-information tests: libdw's own answers for an ELF file opened
// offline (symbol, compile unit and source line of an address at the file's link addresses).
#pragma once

#include <elfutils/libdwfl.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kestrix::test {

class LibdwModule {
  public:
    explicit LibdwModule(const std::string& path);
    ~LibdwModule();
    LibdwModule(const LibdwModule&) = delete;
    LibdwModule& operator=(const LibdwModule&) = delete;

    // Calls `visit` with the link address and size of every defined function symbol with a size.
    void ForEachFunction(const std::function<void(std::uint64_t, std::uint64_t)>& visit) const;

    std::optional<std::string> SymbolName(std::uint64_t address) const;
    // The unit libdw picks for the address, when that unit's ranges hold it.
    std::optional<std::string> UnitPath(std::uint64_t address) const;
    // Whether a unit of this source path (folder and extension aside) holds the address: code
    // that several units compiled (inline functions) belongs to each of them.
    bool UnitHolds(std::string_view unitName, std::uint64_t address) const;
    // How many units hold the address: more than one for an inline function that several of
    // them compiled, whose rows for it need not match the one copy linked.
    std::size_t UnitsHolding(std::uint64_t address) const;
    // The line of the address in the function starting at `functionStart`. libdw answers code
    // without rows of its own from the row below it even across the end of that row's sequence;
    // such a row below the function does not describe the address, which then has no line.
    int Line(std::uint64_t address, std::uint64_t functionStart) const;
    // The same line in the address's unit's own source file: a line of another file (code the
    // unit inlined from a header) gives way to the unit's own row before it in the same sequence
    // (0 when it has none).
    int OwnFileLine(std::uint64_t address, std::uint64_t functionStart) const;

  private:
    Dwfl* m_dwfl = nullptr;
    Dwfl_Module* m_module = nullptr;
    // libdw's addresses are the link addresses plus this bias.
    std::uint64_t m_bias = 0;
    // Where line sequences end, in libdw's addresses, ascending.
    std::vector<std::uint64_t> m_sequenceEnds;
    // OwnFileLine's answers by libdw's row: finding the own row before takes a search of its unit.
    mutable std::unordered_map<const Dwfl_Line*, int> m_ownFileLines;
};

}  // namespace kestrix::test
