// \brief The class filters: the decisions for one failure taken from the first filter whose class
// list names the exception's class or one of its ancestors (F1Classes, then F2Classes), otherwise
// from the general rule (the Gn settings).
#pragma once

#include <string>
#include <vector>

#include "crash/core/exception_enums.h"
#include "crash/settings/ikx_settings.h"

namespace kestrix {

struct FilterDecisions {
    bool CreateBugReport = true;
    bool CreateScreenshot = true;
    bool AppendScreenshot = true;
    bool PauseThreads = false;
    bool CallHandlers = true;
    TKXShowSetting ShowSetting = ssFullBox;
    std::string AssistantName;
};

// "F1", "F2" or "Gn": the prefix of the filter whose settings apply.
std::string ChosenFilter(const IKXSettings& settings, const std::vector<std::string>& classNames);

FilterDecisions DecideByClassFilters(const IKXSettings& settings,
                                     const std::vector<std::string>& classNames);

}  // namespace kestrix
