// \brief Module queries through the dynamic linker's list of loaded objects.
#include "crash/settings/module_info.h"

#include <link.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <limits>

namespace kestrix {
namespace {

struct LoadedObject {
    ModuleHandle Handle = 0;
    std::uintptr_t End = 0;
    std::string Path;
    bool IsMain = false;
};

std::vector<LoadedObject> LoadedObjects() {
    std::vector<LoadedObject> objects;
    const auto collect = [](dl_phdr_info* info, std::size_t, void* data) -> int {
        auto& list = *static_cast<std::vector<LoadedObject>*>(data);
        std::uintptr_t low = std::numeric_limits<std::uintptr_t>::max();
        std::uintptr_t high = 0;
        for (int i = 0; i < info->dlpi_phnum; ++i) {
            const ElfW(Phdr)& segment = info->dlpi_phdr[i];
            if (segment.p_type == PT_LOAD) {
                low = std::min<std::uintptr_t>(low, segment.p_vaddr);
                high = std::max<std::uintptr_t>(high, segment.p_vaddr + segment.p_memsz);
            }
        }
        if (high == 0) {
            return 0;
        }
        const auto pageSize = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
        LoadedObject object;
        object.Handle = info->dlpi_addr + (low & ~(pageSize - 1));
        object.End = info->dlpi_addr + high;
        object.Path = info->dlpi_name != nullptr ? info->dlpi_name : "";
        // The dynamic linker lists the executable first, under an empty name.
        object.IsMain = list.empty();
        list.push_back(std::move(object));
        return 0;
    };
    dl_iterate_phdr(collect, &objects);
    return objects;
}

std::string FileNameOf(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

}  // namespace

ModuleHandle MainModule() {
    static const ModuleHandle main = LoadedObjects().front().Handle;
    return main;
}

ModuleHandle ModuleOfAddress(const void* address) {
    const auto value = reinterpret_cast<std::uintptr_t>(address);
    for (const LoadedObject& object : LoadedObjects()) {
        if (value >= object.Handle && value < object.End) {
            return object.Handle;
        }
    }
    return 0;
}

std::vector<ModuleHandle> LoadedModules() {
    std::vector<ModuleHandle> modules;
    for (const LoadedObject& object : LoadedObjects()) {
        modules.push_back(object.Handle);
    }
    std::ranges::sort(modules);
    return modules;
}

std::string ModuleFileName(ModuleHandle module) {
    for (const LoadedObject& object : LoadedObjects()) {
        if (object.Handle == module) {
            return object.IsMain ? ApplicationFileName() : FileNameOf(object.Path);
        }
    }
    return {};
}

std::string ApplicationFileName() {
    std::error_code error;
    return FileNameOf(std::filesystem::read_symlink("/proc/self/exe", error).string());
}

}  // namespace kestrix
