// \brief The module cache, filled from dl_iterate_phdr.
#include "crash/stack/module_cache.h"

#include <elf.h>
#include <link.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <mutex>
#include <optional>
#include <utility>

#include "crash/debuginfo/map_file_cache.h"
#include "crash/stack/guarded_read.h"

namespace kestrix {
namespace {

struct ModuleCache {
    std::mutex Lock;
    std::deque<TModuleEntry> Modules;  // a deque keeps the entries in place as it grows
};

ModuleCache& Cache() {
    static ModuleCache cache;
    return cache;
}

std::uintptr_t EntryPointOf(const TModuleEntry& module, std::uintptr_t loadBias) {
    const auto header = TryReadValue<ElfW(Ehdr)>(module.Handle);
    if (!header || header->e_entry == 0)
        return 0;
    return (header->e_type == ET_DYN ? loadBias : 0) + header->e_entry;
}

TModuleEntry DescribeModule(const dl_phdr_info& info, bool isExecutable) {
    TModuleEntry module;
    module.IsExecutable = isExecutable;
    module.Handle = UINTPTR_MAX;
    module.CodeStart = module.DataStart = UINTPTR_MAX;
    for (std::size_t i = 0; i < info.dlpi_phnum; ++i) {
        const ElfW(Phdr)& segment = info.dlpi_phdr[i];
        if (segment.p_type != PT_LOAD)
            continue;
        const std::uintptr_t start = info.dlpi_addr + segment.p_vaddr;
        const std::uintptr_t end = start + segment.p_memsz;
        module.Handle = std::min(module.Handle, start & ~std::uintptr_t{4095});
        module.ImageEnd = std::max(module.ImageEnd, end);
        if ((segment.p_flags & PF_X) != 0) {
            module.CodeStart = std::min(module.CodeStart, start);
            module.CodeEnd = std::max(module.CodeEnd, end);
        }
        if ((segment.p_flags & PF_W) != 0) {
            module.DataStart = std::min(module.DataStart, start);
            module.DataEnd = std::max(module.DataEnd, end);
        }
    }
    if (module.CodeEnd == 0)
        module.CodeStart = 0;
    if (module.DataEnd == 0)
        module.DataStart = 0;
    std::error_code error;
    module.Path = isExecutable ? std::filesystem::read_symlink("/proc/self/exe", error).string()
                               : std::string(info.dlpi_name);
    module.FileName = std::filesystem::path(module.Path).filename().string();
    module.EntryPoint = EntryPointOf(module, info.dlpi_addr);
    return module;
}

struct Search {
    std::uintptr_t Address = 0;
    bool First = true;
    std::optional<TModuleEntry> Found;
};

int FindImage(dl_phdr_info* info, std::size_t, void* data) {
    auto& search = *static_cast<Search*>(data);
    const bool isExecutable = std::exchange(search.First, false);
    for (std::size_t i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& segment = info->dlpi_phdr[i];
        const std::uintptr_t start = info->dlpi_addr + segment.p_vaddr;
        if (segment.p_type == PT_LOAD && search.Address >= start &&
            search.Address < start + segment.p_memsz) {
            search.Found = DescribeModule(*info, isExecutable);
            return 1;
        }
    }
    return 0;
}

}  // namespace

const TModuleEntry* FindModule(std::uintptr_t address) {
    ModuleCache& cache = Cache();
    {
        const std::lock_guard lock(cache.Lock);
        for (const TModuleEntry& module : cache.Modules) {
            if (module.InImage(address))
                return &module;
        }
    }
    Search search;
    search.Address = address;
    dl_iterate_phdr(FindImage, &search);
    if (!search.Found)
        return nullptr;
    // Loading the debug information reads files: done outside the lock.
    auto mapFile = FindMapFile(search.Found->CodeStart);
    if (mapFile && mapFile->Valid())
        search.Found->MapFile = std::move(mapFile);
    const std::lock_guard lock(cache.Lock);
    for (const TModuleEntry& module : cache.Modules) {
        if (module.Handle == search.Found->Handle)
            return &module;
    }
    return &cache.Modules.emplace_back(std::move(*search.Found));
}

}  // namespace kestrix
