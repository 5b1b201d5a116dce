// \brief The assistant forms' resources: "TKX" and the form name in capitals (TKXCONTACTFORM),
// each a "TPF0" stream of the form object and its items.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "crash/settings/form_object.h"
#include "crash/settings/module_info.h"

namespace kestrix {

std::string AssistantFormResourceName(std::string_view formName);

// The form from the module's resources, or from the main module's when the module has none of
// that name. Nothing when neither has it, or when the stream is damaged: then "Internal error:
// Invalid assistant resource (...)." is shown, since a half-read form must not be shown.
std::optional<FormObject> LoadAssistantForm(ModuleHandle module, std::string_view formName);

}  // namespace kestrix
