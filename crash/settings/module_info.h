// \brief The modules of the process: the executable and every shared object mapped into it. A
// module handle is the address where the module's first loaded segment starts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kestrix {

using ModuleHandle = std::uintptr_t;

ModuleHandle MainModule();

// The module whose loaded segments contain the address; 0 when none does.
ModuleHandle ModuleOfAddress(const void* address);

// All modules in ascending address order.
std::vector<ModuleHandle> LoadedModules();

// The module's file name without folder ("" for an unknown handle).
std::string ModuleFileName(ModuleHandle module);

// The executable's file name without folder.
std::string ApplicationFileName();

}  // namespace kestrix
