// \brief The class filters.
#include "crash/core/class_filters.h"

#include <algorithm>

namespace kestrix {
namespace {

bool NamesAny(const std::vector<std::string>& filter, const std::vector<std::string>& classNames) {
    return std::any_of(classNames.begin(), classNames.end(), [&](const std::string& name) {
        return std::find(filter.begin(), filter.end(), name) != filter.end();
    });
}

TKXShowSetting ShowSettingOf(std::int32_t value) {
    return value >= ssFullBox && value <= ssNothing ? static_cast<TKXShowSetting>(value)
                                                    : ssFullBox;
}

}  // namespace

std::string ChosenFilter(const IKXSettings& settings, const std::vector<std::string>& classNames) {
    if (NamesAny(settings.F1Classes(), classNames)) {
        return "F1";
    }
    if (NamesAny(settings.F2Classes(), classNames)) {
        return "F2";
    }
    return "Gn";
}

FilterDecisions DecideByClassFilters(const IKXSettings& settings,
                                     const std::vector<std::string>& classNames) {
    const std::string prefix = ChosenFilter(settings, classNames);
    FilterDecisions decisions;
    decisions.CreateBugReport = !settings.GetBool(prefix + "NoBugRep");
    decisions.CreateScreenshot =
        !settings.GetBool(prefix + "NoScrShot") && settings.ScrShotDepth() > 0;
    decisions.AppendScreenshot = decisions.CreateScreenshot;
    decisions.PauseThreads = !settings.GetBool(prefix + "NoSuspend") && settings.PauseThreads();
    decisions.CallHandlers = !settings.GetBool(prefix + "NoHandlers");
    decisions.ShowSetting = ShowSettingOf(settings.GetInt(prefix + "ShowCfg"));
    decisions.AssistantName = settings.GetString(prefix + "Assis");
    return decisions;
}

}  // namespace kestrix
