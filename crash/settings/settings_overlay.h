// \brief Settings of one failure: a private overlay over its module's settings. What is changed
// here applies to this failure only; everything else reads through to the module.
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "crash/settings/ikx_settings.h"

namespace kestrix {

class SettingsOverlay : public IKXSettings {
  public:
    explicit SettingsOverlay(std::shared_ptr<IKXModuleSettings> moduleSettings);

    ModuleHandle Module() const override;
    std::optional<PropertyRecord> FindSetting(std::string_view name) const override;
    void SetSetting(PropertyRecord setting) override;

    const std::shared_ptr<IKXModuleSettings>& ModuleSettings() const { return m_moduleSettings; }

  private:
    std::shared_ptr<IKXModuleSettings> m_moduleSettings;
    mutable std::mutex m_guard;
    std::vector<PropertyRecord> m_overlay;
};

}  // namespace kestrix
