// \brief The per-process cache of module debug information.
#include "crash/debuginfo/map_file_cache.h"

#include <link.h>

#include <compare>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "crash/debuginfo/map_file_loader.h"
#include "crash/settings/module_info.h"

namespace kestrix {
namespace {

// A module as the dynamic linker lists it, found without any file access. A module loaded later
// is another one, even at the place of one unloaded before it, unless it is the same file.
struct LoadedModule {
    std::uintptr_t LoadBias = 0;
    std::string Name;  // as loaded; empty for the executable

    auto operator<=>(const LoadedModule&) const = default;

    std::string Path() const {
        if (!Name.empty())
            return Name;
        std::error_code error;
        return std::filesystem::read_symlink("/proc/self/exe", error).string();
    }
};

struct ModuleSearch {
    std::uintptr_t Address = 0;
    std::optional<LoadedModule> Found;
};

std::optional<LoadedModule> LoadedModuleOf(std::uintptr_t address) {
    ModuleSearch search{address, std::nullopt};
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void* data) -> int {
            auto& wanted = *static_cast<ModuleSearch*>(data);
            for (int i = 0; i < info->dlpi_phnum; ++i) {
                const ElfW(Phdr)& segment = info->dlpi_phdr[i];
                const std::uintptr_t start = info->dlpi_addr + segment.p_vaddr;
                if (segment.p_type == PT_LOAD && wanted.Address >= start &&
                    wanted.Address - start < segment.p_memsz) {
                    // The dynamic linker lists the executable under an empty name.
                    wanted.Found = LoadedModule{info->dlpi_addr,
                                                info->dlpi_name != nullptr ? info->dlpi_name : ""};
                    return 1;
                }
            }
            return 0;
        },
        &search);
    return search.Found;
}

struct MapFileCache {
    std::mutex Lock;
    // Kept by module, so that a lookup reads no file (not even the link that names the
    // executable); a module's information does not change while it stays loaded.
    std::map<LoadedModule, std::shared_ptr<const TMapFile>> ByModule;
};

MapFileCache& Cache() {
    static MapFileCache cache;
    return cache;
}

}  // namespace

std::shared_ptr<const TMapFile> FindMapFile(std::uintptr_t address) {
    auto module = LoadedModuleOf(address);
    if (!module) {
        return std::make_shared<const TMapFile>();
    }
    MapFileCache& cache = Cache();
    const std::lock_guard lock(cache.Lock);
    if (const auto cached = cache.ByModule.find(*module); cached != cache.ByModule.end()) {
        return cached->second;
    }
    auto map = std::make_shared<const TMapFile>(LoadModuleMapFile(
        module->Path(), module->LoadBias, ModuleOfAddress(reinterpret_cast<const void*>(address))));
    cache.ByModule.emplace(std::move(*module), map);
    return map;
}

MapFileInfos GetMapFileInfos(std::uintptr_t address) {
    return FindMapFile(address)->GetMapFileInfos(address);
}

}  // namespace kestrix
