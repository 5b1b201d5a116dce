// \brief The "modules" plug-in: the objects mapped into the process (dl_iterate_phdr), in address
// order, with load address, file name, version and folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kestrix {

struct TModuleListEntry {
    std::uintptr_t Base = 0;
    std::string FileName;
    std::string Version;
    std::string Folder;  // without a trailing "/"; empty for an object without a file
};

// The loaded modules in ascending address order.
std::vector<TModuleListEntry> LoadedModuleEntries();

// One line per module: the base address, a blank, the file name padded to the longest name plus
// one, the version padded to the longest version plus one, and the folder.
std::string FormatModuleList(const std::vector<TModuleListEntry>& modules);

std::string ModuleList();

}  // namespace kestrix
