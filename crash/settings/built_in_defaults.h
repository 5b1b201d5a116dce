// \brief The settings every program gets when neither its module nor the main module sets them.
// `AddFields`, `MailFrom`, `VersionVar` and `MinDebugInfo` have none.
#pragma once

#include <optional>
#include <string_view>

#include "crash/settings/property_record.h"

namespace kestrix {

std::optional<PropertyRecord> BuiltInDefault(std::string_view name);

}  // namespace kestrix
