// \brief The settings every program gets when neither its module nor the main module sets them.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "crash/settings/property_record.h"

namespace kestrix {

std::span<const PropertyRecord> BuiltInDefaults();

std::optional<PropertyRecord> BuiltInDefault(std::string_view name);

}  // namespace kestrix
