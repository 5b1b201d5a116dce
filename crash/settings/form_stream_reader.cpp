// \brief Reads a "TPF0" stream into form objects, keeping what was read before any damage.
#include "crash/settings/form_stream_reader.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "crash/settings/form_stream_format.h"
#include "crash/settings/text_code_page.h"

namespace kestrix {
namespace {

struct StreamDamage {
    FormStreamError Error;
};

class FormStreamCursor {
  public:
    explicit FormStreamCursor(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    bool AtEnd() const { return m_pos == m_bytes.size(); }
    std::size_t Offset() const { return m_pos; }

    [[noreturn]] void Fail(std::string reason) const {
        throw StreamDamage{{m_pos, std::nullopt, std::move(reason)}};
    }

    std::span<const std::uint8_t> Take(std::size_t count) {
        if (count > m_bytes.size() - m_pos) {
            Fail("truncated at byte " + std::to_string(m_bytes.size()));
        }
        const auto taken = m_bytes.subspan(m_pos, count);
        m_pos += count;
        return taken;
    }

    std::uint8_t Byte() { return Take(1)[0]; }

    std::uint8_t Peek() {
        const std::uint8_t next = Byte();
        --m_pos;
        return next;
    }

    std::uint32_t UnsignedLittleEndian(std::size_t size) {
        const auto bytes = Take(size);
        std::uint32_t value = 0;
        for (std::size_t i = size; i-- > 0;) {
            value = (value << 8) | bytes[i];
        }
        return value;
    }

    std::string ShortString() { return Text(Byte()); }

    std::string Text(std::size_t length) {
        const auto bytes = Take(length);
        return Windows1252ToUtf8({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
    }

    std::string WideText(std::uint32_t characters) {
        if (characters > (m_bytes.size() - m_pos) / 2) {
            Fail("truncated at byte " + std::to_string(m_bytes.size()));
        }
        const auto bytes = Take(std::size_t(characters) * 2);
        std::vector<char16_t> units(characters);
        for (std::size_t i = 0; i < units.size(); ++i) {
            units[i] = char16_t(bytes[2 * i] | (bytes[2 * i + 1] << 8));
        }
        return Utf16ToUtf8(units);
    }

  private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_pos = 0;
};

void ReadValue(FormStreamCursor& in, PropertyRecord& property) {
    const std::size_t typeOffset = in.Offset();
    const std::uint8_t type = in.Byte();
    switch (static_cast<FormValueType>(type)) {
        case FormValueType::Int8:
            property.Kind = TPropertyType::ptInteger;
            property.IntValue = static_cast<std::int8_t>(in.Byte());
            return;
        case FormValueType::Int16:
            property.Kind = TPropertyType::ptInteger;
            property.IntValue = static_cast<std::int16_t>(in.UnsignedLittleEndian(2));
            return;
        case FormValueType::Int32:
            property.Kind = TPropertyType::ptInteger;
            property.IntValue = static_cast<std::int32_t>(in.UnsignedLittleEndian(4));
            return;
        case FormValueType::ShortString:
            property.Kind = TPropertyType::ptString;
            property.StringValue = in.ShortString();
            return;
        case FormValueType::False:
        case FormValueType::True:
            property.Kind = TPropertyType::ptBoolean;
            property.BoolValue = type == std::uint8_t(FormValueType::True);
            return;
        case FormValueType::LongString:
            property.Kind = TPropertyType::ptString;
            property.StringValue = in.Text(in.UnsignedLittleEndian(4));
            return;
        case FormValueType::WideString:
            property.Kind = TPropertyType::ptString;
            property.StringValue = in.WideText(in.UnsignedLittleEndian(4));
            return;
    }
    throw StreamDamage{{typeOffset, type, {}}};
}

// Appends to `object` as it reads, so that a damaged stream leaves everything before the damage.
void ReadObject(FormStreamCursor& in, FormObject& object, int depth) {
    if (depth > MaxFormNesting) {
        in.Fail("objects nested deeper than " + std::to_string(MaxFormNesting));
    }
    object.ClassName = in.ShortString();
    object.Name = in.ShortString();
    for (std::string name = in.ShortString(); !name.empty(); name = in.ShortString()) {
        PropertyRecord property;
        property.Name = std::move(name);
        ReadValue(in, property);
        object.Properties.push_back(std::move(property));
    }
    if (depth == 0 && in.AtEnd()) {
        return;
    }
    // A nested object starts with its class name, which is never empty: a 0 byte ends the list.
    while (in.Peek() != 0) {
        object.Children.emplace_back();
        ReadObject(in, object.Children.back(), depth + 1);
    }
    in.Byte();
}

}  // namespace

FormStreamReadResult ReadFormStream(std::span<const std::uint8_t> bytes) {
    FormStreamReadResult result;
    FormStreamCursor in(bytes);
    try {
        const auto signature = in.Take(FormStreamSignature.size());
        if (!std::equal(signature.begin(), signature.end(), FormStreamSignature.begin())) {
            throw StreamDamage{{0, std::nullopt, "no TPF0 signature"}};
        }
        ReadObject(in, result.Root, 0);
    } catch (const StreamDamage& damage) {
        result.Error = damage.Error;
    }
    return result;
}

std::string InvalidResourceMessage(std::string_view kind, const FormStreamError& error) {
    std::string detail = error.Reason;
    if (error.UnknownType) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X", *error.UnknownType);
        detail = std::string("$") + hex;
    }
    return "Internal error: Invalid " + std::string(kind) + " resource (" + detail + ").";
}

}  // namespace kestrix
