// \brief Which procedure contains a code address: the public symbol of the module's debug
// information, or, in a shared library without it, the nearest dynamic symbol below the address
// (or the library's entry point when that lies nearer).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "crash/stack/module_cache.h"

namespace kestrix {

enum class TIdentificationSource { isDebugInfo, isNearestExport };

struct TProcedureIdentity {
    std::uintptr_t Entry = 0;
    std::string Name;
    // Where the procedure's symbol ends, when known (the next public symbol, a dynamic symbol's
    // size).
    std::optional<std::uintptr_t> ExtentEnd;
    const TModuleEntry* Module = nullptr;
    TIdentificationSource Source = TIdentificationSource::isDebugInfo;
};

// By the public symbol that contains the address; none without debug information or symbol.
std::optional<TProcedureIdentity> IdentifyByDebugInfo(const TModuleEntry& module,
                                                      std::uintptr_t address);

// For a module without debug information that is not the executable: the highest dynamic symbol
// address below returnAddress, or the entry point when that is higher and still below it.
std::optional<TProcedureIdentity> IdentifyByNearestExport(const TModuleEntry& module,
                                                          std::uintptr_t returnAddress);

// Debug information first, then the nearest export (below address + 1); none otherwise.
std::optional<TProcedureIdentity> IdentifyProcedure(std::uintptr_t address);

}  // namespace kestrix
