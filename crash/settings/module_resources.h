// \brief Resources linked into a module: named byte blocks (the settings "TKESTRIX", the assistant
// forms "TKX" and the form name in capitals) that a generated source registers for the module
// it is linked into, when the module is initialised.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "crash/settings/module_info.h"

namespace kestrix {

inline constexpr std::string_view SettingsResourceName = "TKESTRIX";

// Registers the bytes for the module that holds them (or for `module` explicitly) while the
// registration lives. The bytes must outlive it. A later registration of the same name for the
// same module hides an earlier one until it ends.
class ModuleResourceRegistration {
  public:
    ModuleResourceRegistration(std::string name, const std::uint8_t* bytes, std::size_t size);
    ModuleResourceRegistration(ModuleHandle module,
                               std::string name,
                               std::span<const std::uint8_t> bytes);
    ~ModuleResourceRegistration();
    ModuleResourceRegistration(const ModuleResourceRegistration&) = delete;
    ModuleResourceRegistration& operator=(const ModuleResourceRegistration&) = delete;

  private:
    ModuleHandle m_module;
    std::string m_name;
    std::span<const std::uint8_t> m_bytes;
};

// Resource names compare without regard to letter case.
std::optional<std::span<const std::uint8_t>> FindModuleResource(ModuleHandle module,
                                                                std::string_view name);

}  // namespace kestrix
