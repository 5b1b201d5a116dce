// \brief The judge of the debug-information tests: libdw's own answers for an ELF file opened
// offline (symbol, compile unit and source line of an address at the file's link addresses).
#pragma once

#include <elfutils/libdwfl.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
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
    // The line of the address in the function starting at `functionStart`. libdw answers code
    // without rows of its own from the row below it even across the end of that row's sequence;
    // such a row below the function does not describe the address, which then has no line.
    int Line(std::uint64_t address, std::uint64_t functionStart) const;

  private:
    Dwfl* m_dwfl = nullptr;
    Dwfl_Module* m_module = nullptr;
    // libdw's addresses are the link addresses plus this bias.
    std::uint64_t m_bias = 0;
    // Where line sequences end, in libdw's addresses, ascending.
    std::vector<std::uint64_t> m_sequenceEnds;
};

}  // namespace kestrix::test
