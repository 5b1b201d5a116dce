// \brief The process-wide list of registered module resources.
#include "crash/settings/module_resources.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "crash/settings/property_record.h"

namespace kestrix {
namespace {

struct RegisteredResource {
    ModuleHandle Module;
    std::string Name;
    std::span<const std::uint8_t> Bytes;
};

struct ResourceList {
    std::mutex Guard;
    std::vector<RegisteredResource> Entries;
};

// Registrations run while modules are initialised, in any order, so the list is built on first use.
ResourceList& Resources() {
    static ResourceList list;
    return list;
}

}  // namespace

ModuleResourceRegistration::ModuleResourceRegistration(std::string name,
                                                       const std::uint8_t* bytes,
                                                       std::size_t size)
    : ModuleResourceRegistration(ModuleOfAddress(bytes), std::move(name), {bytes, size}) {}

ModuleResourceRegistration::ModuleResourceRegistration(ModuleHandle module,
                                                       std::string name,
                                                       std::span<const std::uint8_t> bytes)
    : m_module(module), m_name(std::move(name)), m_bytes(bytes) {
    ResourceList& list = Resources();
    const std::lock_guard lock(list.Guard);
    list.Entries.push_back({m_module, m_name, m_bytes});
}

ModuleResourceRegistration::~ModuleResourceRegistration() {
    ResourceList& list = Resources();
    const std::lock_guard lock(list.Guard);
    const auto it = std::ranges::find_if(list.Entries, [this](const RegisteredResource& entry) {
        return entry.Module == m_module && entry.Name == m_name &&
               entry.Bytes.data() == m_bytes.data();
    });
    if (it != list.Entries.end()) {
        list.Entries.erase(it);
    }
}

std::optional<std::span<const std::uint8_t>> FindModuleResource(ModuleHandle module,
                                                                std::string_view name) {
    ResourceList& list = Resources();
    const std::lock_guard lock(list.Guard);
    for (auto it = list.Entries.rbegin(); it != list.Entries.rend(); ++it) {
        if (it->Module == module && SameName(it->Name, name)) {
            return it->Bytes;
        }
    }
    return std::nullopt;
}

}  // namespace kestrix
