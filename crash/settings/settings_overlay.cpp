// \brief The per-failure overlay of settings.
#include "crash/settings/settings_overlay.h"

namespace kestrix {

SettingsOverlay::SettingsOverlay(std::shared_ptr<IKXModuleSettings> moduleSettings)
    : m_moduleSettings(std::move(moduleSettings)) {}

ModuleHandle SettingsOverlay::Module() const {
    return m_moduleSettings->Module();
}

std::optional<PropertyRecord> SettingsOverlay::FindSetting(std::string_view name) const {
    {
        const std::lock_guard lock(m_guard);
        if (const PropertyRecord* own = FindByName(m_overlay, name)) {
            return *own;
        }
    }
    return m_moduleSettings->FindSetting(name);
}

void SettingsOverlay::SetSetting(PropertyRecord setting) {
    const std::lock_guard lock(m_guard);
    StoreByName(m_overlay, std::move(setting));
}

}  // namespace kestrix
