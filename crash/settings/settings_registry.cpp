// \brief Loading module tables from their resources, and the process-wide list of tables.
#include "crash/settings/settings_registry.h"

#include <map>

#include "crash/settings/form_stream_reader.h"
#include "crash/settings/internal_error.h"
#include "crash/settings/module_resources.h"
#include "crash/settings/report_cipher.h"

namespace kestrix {
namespace {

// Room for every setting of the reporter and a few of a program's own before the table grows.
constexpr std::size_t InitialTableCapacity = 131;
constexpr std::size_t TableGrowth = 20;

struct PasswordSetting {
    std::string_view Password;
    std::string_view Server;
    std::string_view Account;
};

constexpr PasswordSetting PasswordSettings[] = {
    {"SmtpPassword", "SmtpServer", "SmtpAccount"},
    {"HttpPassword", "HttpServer", "HttpAccount"},
};

struct LoadedTable {
    std::shared_ptr<ModuleSettingsTable> Table;
    std::vector<std::string> Messages;
};

void DecipherPasswords(ModuleSettingsTable& table, std::vector<std::string>& messages) {
    for (const PasswordSetting& setting : PasswordSettings) {
        const std::optional<PropertyRecord> stored = table.Find(setting.Password);
        if (!stored || stored->AsString().empty()) {
            continue;
        }
        const auto raw = [&](std::string_view name) {
            const std::optional<PropertyRecord> value = table.Find(name);
            return value ? value->AsString() : std::string();
        };
        const std::optional<std::string> plain =
            DecipherStoredPassword(stored->AsString(), raw(setting.Server), raw(setting.Account));
        if (!plain) {
            messages.push_back("Internal error: Invalid settings resource (" +
                               std::string(setting.Password) + " is not Base64).");
        }
        table.Set(PropertyRecord::String(std::string(setting.Password), plain.value_or("")));
    }
}

LoadedTable LoadTable(ModuleHandle module) {
    LoadedTable loaded;
    const std::optional<std::span<const std::uint8_t>> resource =
        FindModuleResource(module, SettingsResourceName);
    if (!resource) {
        loaded.Table = std::make_shared<ModuleSettingsTable>(module, false, false,
                                                             std::vector<PropertyRecord>{});
        return loaded;
    }
    FormStreamReadResult read = ReadFormStream(*resource);
    if (read.Error) {
        loaded.Messages.push_back(InvalidResourceMessage("settings", *read.Error));
    }
    loaded.Table = std::make_shared<ModuleSettingsTable>(module, true, !read.Error,
                                                         std::move(read.Root.Properties));
    DecipherPasswords(*loaded.Table, loaded.Messages);
    return loaded;
}

struct SettingsRegistry {
    std::mutex Guard;
    std::map<ModuleHandle, std::weak_ptr<ModuleSettingsTable>> Tables;
};

SettingsRegistry& Registry() {
    static SettingsRegistry registry;
    return registry;
}

}  // namespace

ModuleSettingsTable::ModuleSettingsTable(ModuleHandle module,
                                         bool hasResource,
                                         bool valid,
                                         std::vector<PropertyRecord> properties)
    : m_module(module), m_hasResource(hasResource), m_valid(valid) {
    m_properties.reserve(std::max(InitialTableCapacity, properties.size()));
    for (PropertyRecord& property : properties) {
        Set(std::move(property));
    }
}

std::optional<PropertyRecord> ModuleSettingsTable::Find(std::string_view name) const {
    const std::lock_guard lock(m_guard);
    const PropertyRecord* property = FindByName(m_properties, name);
    return property ? std::optional(*property) : std::nullopt;
}

void ModuleSettingsTable::Set(PropertyRecord setting) {
    const std::lock_guard lock(m_guard);
    if (m_properties.size() == m_properties.capacity() && !FindByName(m_properties, setting.Name)) {
        m_properties.reserve(m_properties.capacity() + TableGrowth);
    }
    StoreByName(m_properties, std::move(setting));
}

std::shared_ptr<ModuleSettingsTable> AcquireModuleSettingsTable(ModuleHandle module) {
    LoadedTable loaded;
    {
        SettingsRegistry& registry = Registry();
        const std::lock_guard lock(registry.Guard);
        std::weak_ptr<ModuleSettingsTable>& entry = registry.Tables[module];
        if (std::shared_ptr<ModuleSettingsTable> table = entry.lock()) {
            return table;
        }
        loaded = LoadTable(module);
        entry = loaded.Table;
        // Entries of modules nobody uses any more leave the list.
        std::erase_if(registry.Tables, [](const auto& item) { return item.second.expired(); });
    }
    // Shown outside the lock: the box may wait for the user while other threads read settings.
    for (const std::string& message : loaded.Messages) {
        ShowInternalError(message);
    }
    return loaded.Table;
}

}  // namespace kestrix
