// \brief Identification through TMapFile and through the dynamic symbol table (dladdr1).
#include "crash/stack/procedure_identification.h"

#include <dlfcn.h>
#include <link.h>

#include <algorithm>

#include "crash/debuginfo/symbol_names.h"

namespace kestrix {

std::optional<TProcedureIdentity> IdentifyByDebugInfo(const TModuleEntry& module,
                                                      std::uintptr_t address) {
    if (!module.MapFile)
        return std::nullopt;
    const TMapFile& mapFile = *module.MapFile;
    const auto symbol = mapFile.FindPublic(address);
    if (!symbol)
        return std::nullopt;
    // The symbol reaches up to the next one, the last up to the top of code.
    const auto& publics = mapFile.Content().Publics;
    const auto offset = static_cast<std::uint32_t>(symbol->Address - mapFile.BaseOfCode());
    const auto next = std::upper_bound(
        publics.begin(), publics.end(), offset,
        [](std::uint32_t value, const MapPublic& item) { return value < item.Address; });
    const std::uintptr_t end =
        next == publics.end() ? mapFile.TopOfCode() : mapFile.BaseOfCode() + next->Address;
    return TProcedureIdentity{symbol->Address, std::string(symbol->Name), end, &module,
                              TIdentificationSource::isDebugInfo};
}

std::optional<TProcedureIdentity> IdentifyByNearestExport(const TModuleEntry& module,
                                                          std::uintptr_t returnAddress) {
    if (module.MapFile || module.IsExecutable || returnAddress == 0)
        return std::nullopt;
    Dl_info info{};
    void* symbolEntry = nullptr;
    // NOLINTNEXTLINE(performance-no-int-to-ptr): the address to look up
    const void* examined = reinterpret_cast<const void*>(returnAddress - 1);
    const bool found =
        dladdr1(examined, &info, &symbolEntry, RTLD_DL_SYMENT) != 0 && info.dli_saddr != nullptr;
    const auto* symbol = static_cast<const ElfW(Sym)*>(symbolEntry);
    const auto symbolAddress = found ? reinterpret_cast<std::uintptr_t>(info.dli_saddr) : 0;
    if (module.EntryPoint > symbolAddress && module.EntryPoint < returnAddress)
        return TProcedureIdentity{module.EntryPoint, "", std::nullopt, &module,
                                  TIdentificationSource::isNearestExport};
    if (!found || symbolAddress >= returnAddress)
        return std::nullopt;
    std::optional<std::uintptr_t> end;
    if (symbol != nullptr && symbol->st_size > 0)
        end = symbolAddress + symbol->st_size;
    return TProcedureIdentity{symbolAddress,
                              info.dli_sname != nullptr ? ProcedureName(info.dli_sname) : "", end,
                              &module, TIdentificationSource::isNearestExport};
}

std::optional<TProcedureIdentity> IdentifyProcedure(std::uintptr_t address) {
    const TModuleEntry* module = FindModule(address);
    if (module == nullptr)
        return std::nullopt;
    if (auto identity = IdentifyByDebugInfo(*module, address))
        return identity;
    return IdentifyByNearestExport(*module, address + 1);
}

}  // namespace kestrix
