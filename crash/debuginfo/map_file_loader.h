// \brief Finding and loading a module's debug information from its file, in this order:
//
// 1. the container in the module's section ".kestrix_debuginfo" (added after linking); when it
//    holds minimal information, the ".kes" file beside the module (module file name + ".kes") is
//    tried first and taken only when its identification matches the one the build step stored in
//    the section ".kestrix_debuginfo_id" (the identification of `MinDebugInfo`: the settings
//    resource is compiled before the link, so it cannot hold the identification of information
//    written from the linked file);
// 2. the module's own ELF symbol table: its function symbols as public symbols, one segment over
//    the code named after the module, and the line table of its DWARF line programs when it has
//    them (".debug_line", not compressed);
// 3. a ".kes" file beside the module.
//
// Linker maps and other side files are not sources on this platform: GNU linker maps hold no line
// numbers, and the container already carries everything a side file would. A source that is
// missing, damaged or foreign is passed over and the next one tried; without any the result is
// invalid.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "crash/debuginfo/map_file.h"

namespace kestrix {

inline constexpr std::string_view DebugInfoSectionName = ".kestrix_debuginfo";
inline constexpr std::string_view DebugInfoIdSectionName = ".kestrix_debuginfo_id";
inline constexpr std::string_view DebugInfoFileExtension = ".kes";

// The information of the ELF file at `path` as loaded `loadBias` bytes above its link addresses
// (0 for the file's own addresses).
TMapFile LoadModuleMapFile(const std::string& path,
                           std::uintptr_t loadBias,
                           std::uintptr_t moduleHandle);

}  // namespace kestrix
