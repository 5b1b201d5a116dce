// \brief Choosing and naming the public symbols of a module's code.
#include "crash/debuginfo/function_publics.h"

#include <algorithm>
#include <tuple>

#include "crash/debuginfo/symbol_names.h"

namespace kestrix {

void AddFunctionPublics(MapFileContent& content,
                        std::vector<ElfFunctionSymbol> symbols,
                        const ElfImageRanges& ranges) {
    std::erase_if(symbols, [&](const ElfFunctionSymbol& symbol) {
        return symbol.Address < ranges.BaseOfCode || symbol.Address >= ranges.TopOfCode;
    });
    std::ranges::stable_sort(symbols, [](const ElfFunctionSymbol& a, const ElfFunctionSymbol& b) {
        return std::tuple(a.Address, !a.Global, a.Size == 0) <
               std::tuple(b.Address, !b.Global, b.Size == 0);
    });
    const auto sameAddress = [](const ElfFunctionSymbol& a, const ElfFunctionSymbol& b) {
        return a.Address == b.Address;
    };
    symbols.erase(std::unique(symbols.begin(), symbols.end(), sameAddress), symbols.end());
    content.Publics.reserve(content.Publics.size() + symbols.size());
    for (const ElfFunctionSymbol& symbol : symbols) {
        content.Publics.push_back({std::uint32_t(symbol.Address - ranges.BaseOfCode),
                                   content.AddName(ProcedureName(symbol.Name))});
    }
}

}  // namespace kestrix
