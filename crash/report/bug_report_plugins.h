// \brief The report plug-ins: named texts that a program or the reporter itself adds to every bug
// report, as a section of their own or as one header field. "modules", "processes" and "hardware"
// are registered from the start; the setting `Plugins` chooses which appear and in which order.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kestrix {

class IKXException;

// A plug-in's text, made without the failure or for it.
using TBugReportPluginProc = std::function<std::string()>;
using TBugReportPluginFunc =
    std::function<std::string(const std::shared_ptr<IKXException>& exception)>;

struct TBugReportPlugin {
    std::string Name;
    std::string Description;
    TBugReportPluginFunc Callback;
    bool OwnSection = true;
};

// Adds a plug-in, or replaces the one of the same name (names compare without regard to case).
void RegisterBugReportPlugin(std::string_view name,
                             std::string_view description,
                             TBugReportPluginFunc callback,
                             bool ownSection);
void RegisterBugReportPlugin(std::string_view name,
                             std::string_view description,
                             TBugReportPluginProc callback,
                             bool ownSection);
void UnregisterBugReportPlugin(std::string_view name);

// Every registered plug-in, in the order of registration.
std::vector<TBugReportPlugin> BugReportPlugins();

// The registered plug-ins that the `Plugins` list names, in its order; each name once.
std::vector<TBugReportPlugin> SelectedBugReportPlugins(const std::vector<std::string>& plugins);

// The plug-in's text; a failure in it gives ">> internal error in plugin:" and the place.
std::string BugReportPluginText(const TBugReportPlugin& plugin,
                                const std::shared_ptr<IKXException>& exception,
                                bool showRelAddrs,
                                bool showRelLines);

}  // namespace kestrix
