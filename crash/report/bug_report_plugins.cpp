// \brief The process-wide plug-in registry.
#include "crash/report/bug_report_plugins.h"

#include <algorithm>
#include <mutex>

#include "crash/report/guarded_part.h"
#include "crash/report/hardware_list.h"
#include "crash/report/module_list.h"
#include "crash/report/process_list.h"
#include "crash/settings/property_record.h"

namespace kestrix {
namespace {

class PluginRegistry {
  public:
    PluginRegistry() {
        Register(
            {"modules", "list of loaded modules", [](const auto&) { return ModuleList(); }, true});
        Register({"processes", "list of running processes",
                  [](const auto&) { return ProcessList(); }, true});
        Register({"hardware", "list of installed hardware",
                  [](const auto&) { return HardwareList(); }, true});
    }

    void Register(TBugReportPlugin plugin) {
        const std::lock_guard lock(m_guard);
        const auto existing = Find(plugin.Name);
        if (existing != m_plugins.end())
            *existing = std::move(plugin);
        else
            m_plugins.push_back(std::move(plugin));
    }

    void Unregister(std::string_view name) {
        const std::lock_guard lock(m_guard);
        const auto existing = Find(name);
        if (existing != m_plugins.end())
            m_plugins.erase(existing);
    }

    std::vector<TBugReportPlugin> All() const {
        const std::lock_guard lock(m_guard);
        return m_plugins;
    }

  private:
    std::vector<TBugReportPlugin>::iterator Find(std::string_view name) {
        return std::find_if(
            m_plugins.begin(), m_plugins.end(),
            [&](const TBugReportPlugin& plugin) { return SameName(plugin.Name, name); });
    }

    mutable std::mutex m_guard;
    std::vector<TBugReportPlugin> m_plugins;
};

PluginRegistry& Registry() {
    static PluginRegistry registry;
    return registry;
}

}  // namespace

void RegisterBugReportPlugin(std::string_view name,
                             std::string_view description,
                             TBugReportPluginFunc callback,
                             bool ownSection) {
    Registry().Register(
        {std::string(name), std::string(description), std::move(callback), ownSection});
}

void RegisterBugReportPlugin(std::string_view name,
                             std::string_view description,
                             TBugReportPluginProc callback,
                             bool ownSection) {
    RegisterBugReportPlugin(
        name, description,
        [callback = std::move(callback)](const std::shared_ptr<IKXException>&) {
            return callback();
        },
        ownSection);
}

void UnregisterBugReportPlugin(std::string_view name) {
    Registry().Unregister(name);
}

std::vector<TBugReportPlugin> BugReportPlugins() {
    return Registry().All();
}

std::vector<TBugReportPlugin> SelectedBugReportPlugins(const std::vector<std::string>& plugins) {
    const std::vector<TBugReportPlugin> registered = BugReportPlugins();
    std::vector<TBugReportPlugin> selected;
    for (const std::string& name : plugins) {
        const auto byName = [&](const TBugReportPlugin& plugin) {
            return SameName(plugin.Name, name);
        };
        const auto plugin = std::find_if(registered.begin(), registered.end(), byName);
        if (plugin != registered.end() && std::none_of(selected.begin(), selected.end(), byName))
            selected.push_back(*plugin);
    }
    return selected;
}

std::string BugReportPluginText(const TBugReportPlugin& plugin,
                                const std::shared_ptr<IKXException>& exception,
                                bool showRelAddrs,
                                bool showRelLines) {
    return GuardedPartText(
        "plugin", [&] { return plugin.Callback ? plugin.Callback(exception) : std::string(); },
        showRelAddrs, showRelLines);
}

}  // namespace kestrix
