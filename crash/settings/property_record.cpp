// \brief Construction and kind conversions of property records.
#include "crash/settings/property_record.h"

#include <algorithm>
#include <charconv>

namespace kestrix {

PropertyRecord PropertyRecord::Boolean(std::string name, bool value) {
    PropertyRecord record;
    record.Name = std::move(name);
    record.Kind = TPropertyType::ptBoolean;
    record.BoolValue = value;
    return record;
}

PropertyRecord PropertyRecord::Integer(std::string name, std::int32_t value) {
    PropertyRecord record;
    record.Name = std::move(name);
    record.Kind = TPropertyType::ptInteger;
    record.IntValue = value;
    return record;
}

PropertyRecord PropertyRecord::String(std::string name, std::string value) {
    PropertyRecord record;
    record.Name = std::move(name);
    record.Kind = TPropertyType::ptString;
    record.StringValue = std::move(value);
    return record;
}

bool PropertyRecord::AsBool() const {
    switch (Kind) {
        case TPropertyType::ptBoolean:
            return BoolValue;
        case TPropertyType::ptInteger:
            return IntValue != 0;
        case TPropertyType::ptString:
        case TPropertyType::ptBinary:
            return SameName(StringValue, "true") || StringValue == "1";
    }
    return false;
}

std::int32_t PropertyRecord::AsInt() const {
    switch (Kind) {
        case TPropertyType::ptBoolean:
            return BoolValue ? 1 : 0;
        case TPropertyType::ptInteger:
            return IntValue;
        case TPropertyType::ptString:
        case TPropertyType::ptBinary: {
            std::int32_t value = 0;
            const char* end = StringValue.data() + StringValue.size();
            const auto result = std::from_chars(StringValue.data(), end, value);
            return result.ec == std::errc() && result.ptr == end ? value : 0;
        }
    }
    return 0;
}

std::string PropertyRecord::AsString() const {
    switch (Kind) {
        case TPropertyType::ptBoolean:
            return BoolValue ? "true" : "false";
        case TPropertyType::ptInteger:
            return std::to_string(IntValue);
        case TPropertyType::ptString:
        case TPropertyType::ptBinary:
            return StringValue;
    }
    return {};
}

bool SameName(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

const PropertyRecord* FindByName(const std::vector<PropertyRecord>& list, std::string_view name) {
    const auto it = std::ranges::find_if(
        list, [&](const PropertyRecord& record) { return SameName(record.Name, name); });
    return it == list.end() ? nullptr : &*it;
}

void StoreByName(std::vector<PropertyRecord>& list, PropertyRecord record) {
    if (const PropertyRecord* existing = FindByName(list, record.Name)) {
        list[std::size_t(existing - list.data())] = std::move(record);
    } else {
        list.push_back(std::move(record));
    }
}

}  // namespace kestrix
