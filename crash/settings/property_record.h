// \brief One named setting or form property as the form stream holds it: its kind and its value.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrix {

enum class TPropertyType { ptString, ptInteger, ptBoolean, ptBinary };

// Only the member that matches `Kind` carries the value; the others keep their zero values.
// Strings are UTF-8 in memory whatever code page the stream stored them in.
struct PropertyRecord {
    std::string Name;
    TPropertyType Kind = TPropertyType::ptString;
    bool BoolValue = false;
    std::int32_t IntValue = 0;
    std::string StringValue;

    static PropertyRecord Boolean(std::string name, bool value);
    static PropertyRecord Integer(std::string name, std::int32_t value);
    static PropertyRecord String(std::string name, std::string value);

    // The value read as another kind: a boolean as 0 or 1, an integer as true when not 0, a
    // string as its decimal number (0 when it is none) or as true when it is "true" or "1".
    bool AsBool() const;
    std::int32_t AsInt() const;
    std::string AsString() const;

    friend bool operator==(const PropertyRecord&, const PropertyRecord&) = default;
};

// Property names compare without regard to letter case, as the form stream's names do.
bool SameName(std::string_view a, std::string_view b);

// A list of settings where each name occurs once: the record of that name, or none.
const PropertyRecord* FindByName(const std::vector<PropertyRecord>& list, std::string_view name);

// Replaces the record of the same name in the list, or appends it.
void StoreByName(std::vector<PropertyRecord>& list, PropertyRecord record);

}  // namespace kestrix
