// \brief The module list from the dynamic linker's list of loaded objects.
#include "crash/report/module_list.h"

#include <link.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <limits>

#include "crash/report/hex_text.h"
#include "crash/report/module_version.h"
#include "crash/report/text_lines.h"

namespace kestrix {
namespace {

struct LoadedObject {
    std::uintptr_t Base = 0;
    std::string Path;
    bool IsExecutable = false;
};

int CollectObject(dl_phdr_info* info, std::size_t, void* data) {
    auto& objects = *static_cast<std::vector<LoadedObject>*>(data);
    std::uintptr_t low = std::numeric_limits<std::uintptr_t>::max();
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        if (info->dlpi_phdr[i].p_type == PT_LOAD)
            low = std::min<std::uintptr_t>(low, info->dlpi_phdr[i].p_vaddr);
    }
    if (low == std::numeric_limits<std::uintptr_t>::max())
        return 0;
    const auto pageSize = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    // The dynamic linker lists the executable first, under an empty name.
    objects.push_back({info->dlpi_addr + (low & ~(pageSize - 1)),
                       info->dlpi_name != nullptr ? info->dlpi_name : "", objects.empty()});
    return 0;
}

}  // namespace

std::vector<TModuleListEntry> LoadedModuleEntries() {
    std::vector<LoadedObject> objects;
    dl_iterate_phdr(CollectObject, &objects);
    std::vector<TModuleListEntry> modules;
    for (LoadedObject& object : objects) {
        if (object.IsExecutable) {
            std::error_code error;
            object.Path = std::filesystem::read_symlink("/proc/self/exe", error).string();
        }
        const std::filesystem::path path(object.Path);
        modules.push_back(
            {object.Base, path.filename().string(),
             object.IsExecutable ? ExecutableFileVersion() : LibraryFileVersion(object.Path),
             path.parent_path().string()});
    }
    std::sort(modules.begin(), modules.end(),
              [](const auto& a, const auto& b) { return a.Base < b.Base; });
    return modules;
}

std::string FormatModuleList(const std::vector<TModuleListEntry>& modules) {
    const std::size_t nameWidth =
        ColumnWidth(modules, [](const TModuleListEntry& module) { return module.FileName; });
    const std::size_t versionWidth =
        ColumnWidth(modules, [](const TModuleListEntry& module) { return module.Version; });
    std::vector<std::string> lines;
    for (const TModuleListEntry& module : modules) {
        lines.push_back(HexAddress(module.Base) + " " + PadRight(module.FileName, nameWidth + 1) +
                        PadRight(module.Version, versionWidth + 1) + module.Folder);
    }
    return JoinLines(lines);
}

std::string ModuleList() {
    return FormatModuleList(LoadedModuleEntries());
}

}  // namespace kestrix
