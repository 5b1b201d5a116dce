// \brief The settings registry: one table of settings per module, shared by every settings object
// of that module in the process, loaded from the module's resource on first use and dropped when
// its last user lets it go.
//
// The registry is one process-wide object of this library rather than named shared memory: what
// the list holds (tables, module handles) only means something inside this process, and the
// modules of a process reach the same list as long as they share one copy of the library (the
// executable's, which shared objects loaded into it resolve to, or a shared build of it). The same
// holds for the list of module resources.
#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <vector>

#include "crash/settings/ikx_fields.h"
#include "crash/settings/module_info.h"
#include "crash/settings/property_record.h"

namespace kestrix {

class ModuleSettingsTable {
  public:
    ModuleSettingsTable(ModuleHandle module,
                        bool hasResource,
                        bool valid,
                        std::vector<PropertyRecord> properties);

    ModuleHandle Module() const { return m_module; }
    bool HasResource() const { return m_hasResource; }
    bool Valid() const { return m_valid; }

    std::optional<PropertyRecord> Find(std::string_view name) const;
    // Replaces the setting of that name or adds it.
    void Set(PropertyRecord setting);

    const std::shared_ptr<IKXFields>& FormCache() const { return m_formCache; }

  private:
    const ModuleHandle m_module;
    const bool m_hasResource;
    const bool m_valid;
    mutable std::mutex m_guard;
    std::vector<PropertyRecord> m_properties;
    const std::shared_ptr<IKXFields> m_formCache = NewFields();
};

// The module's table, loaded now when no one holds it. Loading reads the module's "TKESTRIX"
// resource; a damaged one shows "Internal error: Invalid settings resource (...)." and keeps what
// was read before the damage. The stored passwords are deciphered once, here.
std::shared_ptr<ModuleSettingsTable> AcquireModuleSettingsTable(ModuleHandle module);

}  // namespace kestrix
