// \brief The per-process cache of module debug information.
#include "crash/debuginfo/map_file_cache.h"

#include <link.h>

#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "crash/debuginfo/map_file_loader.h"
#include "crash/settings/module_info.h"

namespace kestrix {
namespace {

struct ModuleFile {
    std::string Path;
    std::uintptr_t LoadBias = 0;
};

struct ModuleSearch {
    std::uintptr_t Address = 0;
    std::optional<ModuleFile> Found;
};

std::optional<ModuleFile> ModuleFileOf(std::uintptr_t address) {
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
                    const bool main = info->dlpi_name == nullptr || info->dlpi_name[0] == '\0';
                    std::error_code error;
                    wanted.Found = ModuleFile{
                        main ? std::filesystem::read_symlink("/proc/self/exe", error).string()
                             : std::string(info->dlpi_name),
                        info->dlpi_addr};
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
    std::map<std::string, std::shared_ptr<const TMapFile>> ByModuleFile;
};

MapFileCache& Cache() {
    static MapFileCache cache;
    return cache;
}

}  // namespace

std::shared_ptr<const TMapFile> FindMapFile(std::uintptr_t address) {
    const auto module = ModuleFileOf(address);
    if (!module) {
        return std::make_shared<const TMapFile>();
    }
    MapFileCache& cache = Cache();
    const std::lock_guard lock(cache.Lock);
    if (const auto cached = cache.ByModuleFile.find(module->Path);
        cached != cache.ByModuleFile.end()) {
        return cached->second;
    }
    auto map = std::make_shared<TMapFile>(LoadModuleMapFile(
        module->Path, module->LoadBias, ModuleOfAddress(reinterpret_cast<const void*>(address))));
    if (map->Valid()) {
        cache.ByModuleFile.emplace(module->Path, map);
    }
    return map;
}

MapFileInfos GetMapFileInfos(std::uintptr_t address) {
    return FindMapFile(address)->GetMapFileInfos(address);
}

}  // namespace kestrix
