// \brief TIKXSettings, the settings object of one module, and the choice of settings by address.
#include "crash/settings/module_settings.h"

#include "crash/settings/built_in_defaults.h"
#include "crash/settings/module_resources.h"
#include "crash/settings/settings_registry.h"

namespace kestrix {
namespace {

class TIKXSettings final : public IKXModuleSettings {
  public:
    TIKXSettings(std::shared_ptr<ModuleSettingsTable> table,
                 std::shared_ptr<IKXModuleSettings> mainSettings)
        : m_table(std::move(table)), m_mainSettings(std::move(mainSettings)) {}

    ModuleHandle Module() const override { return m_table->Module(); }

    std::optional<PropertyRecord> FindSetting(std::string_view name) const override {
        if (std::optional<PropertyRecord> own = m_table->Find(name)) {
            return own;
        }
        return m_mainSettings ? m_mainSettings->FindSetting(name) : BuiltInDefault(name);
    }

    void SetSetting(PropertyRecord setting) override { m_table->Set(std::move(setting)); }

    bool HasSettingsResource() const override { return m_table->HasResource(); }
    bool IsValid() const override { return m_table->Valid(); }
    std::shared_ptr<IKXFields> FormCache() const override { return m_table->FormCache(); }

  private:
    std::shared_ptr<ModuleSettingsTable> m_table;
    std::shared_ptr<IKXModuleSettings> m_mainSettings;  // none for the main module itself
};

// Settings that another module may borrow: read without damage and not deferring elsewhere.
bool ServesOtherModules(const IKXModuleSettings& settings) {
    return settings.HasSettingsResource() && settings.IsValid() && !settings.NoSettings();
}

}  // namespace

std::shared_ptr<IKXModuleSettings> KXSettings(ModuleHandle module) {
    const ModuleHandle main = MainModule();
    if (module == 0 || module == main) {
        return std::make_shared<TIKXSettings>(AcquireModuleSettingsTable(main), nullptr);
    }
    return std::make_shared<TIKXSettings>(AcquireModuleSettingsTable(module), KXSettings());
}

std::shared_ptr<IKXModuleSettings> KXSettings(const void* address) {
    std::shared_ptr<IKXModuleSettings> own = KXSettings(ModuleOfAddress(address));
    if (ServesOtherModules(*own)) {
        return own;
    }
    std::vector<ModuleHandle> candidates{MainModule()};
    for (const ModuleHandle module : LoadedModules()) {
        if (module != MainModule()) {
            candidates.push_back(module);
        }
    }
    for (const ModuleHandle module : candidates) {
        if (!FindModuleResource(module, SettingsResourceName)) {
            continue;
        }
        std::shared_ptr<IKXModuleSettings> settings = KXSettings(module);
        if (ServesOtherModules(*settings)) {
            return settings;
        }
    }
    return KXSettings();
}

std::shared_ptr<IKXModuleSettings> KXSettings() {
    return KXSettings(MainModule());
}

}  // namespace kestrix
