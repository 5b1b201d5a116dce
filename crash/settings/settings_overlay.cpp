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
        for (const PropertyRecord& setting : m_overlay) {
            if (SameName(setting.Name, name)) {
                return setting;
            }
        }
    }
    return m_moduleSettings->FindSetting(name);
}

void SettingsOverlay::SetSetting(PropertyRecord setting) {
    const std::lock_guard lock(m_guard);
    for (PropertyRecord& existing : m_overlay) {
        if (SameName(existing.Name, setting.Name)) {
            existing = std::move(setting);
            return;
        }
    }
    m_overlay.push_back(std::move(setting));
}

}  // namespace kestrix
