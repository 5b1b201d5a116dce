// \brief One object of a binary form stream: its class, its name, its properties in stream order
// and the objects nested in it (the items of a form).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "crash/settings/property_record.h"

namespace kestrix {

struct FormObject {
    std::string ClassName;
    std::string Name;
    std::vector<PropertyRecord> Properties;
    std::vector<FormObject> Children;

    // The last property of that name (a later one overrides an earlier one), or none.
    const PropertyRecord* FindProperty(std::string_view name) const;

    friend bool operator==(const FormObject&, const FormObject&) = default;
};

}  // namespace kestrix
