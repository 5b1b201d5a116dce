// \brief Header values of a failure.
#include "crash/report/failure_header_values.h"

#include <atomic>
#include <chrono>

#include "crash/core/ikx_exception.h"
#include "crash/core/reporter_session.h"
#include "crash/report/bug_report_plugins.h"
#include "crash/report/display_mode.h"
#include "crash/settings/exported_switches.h"

namespace kestrix {
namespace {

std::atomic<std::uint32_t> g_reportsBuilt{0};

std::uint64_t ProgramUpTimeMilliseconds() {
    const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
                         std::chrono::steady_clock::now().time_since_epoch())
                         .count();
    return static_cast<std::uint64_t>(std::max<std::int64_t>(now - ProgramStartTime(), 0));
}

}  // namespace

THeaderValues FailureHeaderValues(const std::shared_ptr<IKXException>& exception) {
    THeaderValues values;
    values.ProgramUpTimeMilliseconds = ProgramUpTimeMilliseconds();
    values.DisplayMode = ReportDisplayMode();
    values.AddCommandLine = AddCmdLineToBugRep.load();
    values.Version = exception->Version();
    const bool showRelAddrs = exception->ShowRelAddrs();
    const bool showRelLines = exception->ShowRelLines();
    for (const TBugReportPlugin& plugin : SelectedBugReportPlugins(exception->Plugins())) {
        if (!plugin.OwnSection)
            values.PluginFields.emplace_back(
                plugin.Name, BugReportPluginText(plugin, exception, showRelAddrs, showRelLines));
    }
    values.ExceptionNumber = ++g_reportsBuilt;
    values.Frozen = exception->ExceptType() == etFrozen;
    values.FrozenMessage = exception->FrozenMsg();
    values.ExceptionClass = exception->ExceptClass();
    // The message of an object that has none is its class name.
    values.ExceptionMessage = AsStdException(exception->ExceptObject()) != nullptr
                                  ? exception->ExceptMessage()
                                  : values.ExceptionClass;
    return values;
}

}  // namespace kestrix
