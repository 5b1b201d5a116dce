// \brief Writes form objects as a "TPF0" stream.
#include "crash/settings/form_stream_writer.h"

#include <limits>
#include <stdexcept>
#include <string>

#include "crash/settings/form_stream_format.h"
#include "crash/settings/text_code_page.h"

namespace kestrix {
namespace {

class FormStreamBuilder {
  public:
    void Byte(std::uint8_t value) { m_bytes.push_back(value); }
    void Type(FormValueType type) { Byte(static_cast<std::uint8_t>(type)); }

    void LittleEndian(std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) {
            Byte(std::uint8_t(value >> (8 * i)));
        }
    }

    // Byte by byte: GCC 12 at -O3 takes a range insert into the still empty vector for an overflow.
    void Bytes(std::string_view text) {
        for (const char c : text) {
            Byte(static_cast<std::uint8_t>(c));
        }
    }

    void Name(std::string_view name, std::string_view what, bool mayBeEmpty) {
        const std::optional<std::string> encoded = Utf8ToWindows1252(name);
        if (!encoded || encoded->size() > 255 || (encoded->empty() && !mayBeEmpty)) {
            throw std::invalid_argument("the " + std::string(what) + " \"" + std::string(name) +
                                        "\" is not 1 to 255 Windows-1252 characters");
        }
        Byte(std::uint8_t(encoded->size()));
        Bytes(*encoded);
    }

    void Integer(std::int32_t value) {
        if (value >= std::numeric_limits<std::int8_t>::min() &&
            value <= std::numeric_limits<std::int8_t>::max()) {
            Type(FormValueType::Int8);
            LittleEndian(std::uint32_t(value), 1);
        } else if (value >= std::numeric_limits<std::int16_t>::min() &&
                   value <= std::numeric_limits<std::int16_t>::max()) {
            Type(FormValueType::Int16);
            LittleEndian(std::uint32_t(value), 2);
        } else {
            Type(FormValueType::Int32);
            LittleEndian(std::uint32_t(value), 4);
        }
    }

    void String(std::string_view text) {
        const std::optional<std::string> encoded = Utf8ToWindows1252(text);
        if (encoded && encoded->size() <= 255) {
            Type(FormValueType::ShortString);
            Byte(std::uint8_t(encoded->size()));
            Bytes(*encoded);
        } else if (encoded) {
            Type(FormValueType::LongString);
            LittleEndian(std::uint32_t(encoded->size()), 4);
            Bytes(*encoded);
        } else {
            const std::vector<char16_t> units = Utf8ToUtf16(text);
            Type(FormValueType::WideString);
            LittleEndian(std::uint32_t(units.size()), 4);
            for (const char16_t unit : units) {
                LittleEndian(unit, 2);
            }
        }
    }

    void Property(const PropertyRecord& property) {
        Name(property.Name, "property name", false);
        switch (property.Kind) {
            case TPropertyType::ptBoolean:
                Type(property.BoolValue ? FormValueType::True : FormValueType::False);
                return;
            case TPropertyType::ptInteger:
                Integer(property.IntValue);
                return;
            case TPropertyType::ptString:
                String(property.StringValue);
                return;
            case TPropertyType::ptBinary:
                break;
        }
        throw std::invalid_argument("the property \"" + property.Name +
                                    "\" is binary, which the form stream cannot hold");
    }

    void Object(const FormObject& object) {
        Name(object.ClassName, "class name", false);
        Name(object.Name, "object name", true);
        for (const PropertyRecord& property : object.Properties) {
            Property(property);
        }
        Byte(0);
        for (const FormObject& child : object.Children) {
            Object(child);
        }
        Byte(0);
    }

    std::vector<std::uint8_t> Take() { return std::move(m_bytes); }

  private:
    std::vector<std::uint8_t> m_bytes;
};

}  // namespace

std::vector<std::uint8_t> WriteFormStream(const FormObject& root) {
    FormStreamBuilder out;
    out.Bytes(FormStreamSignature);
    out.Object(root);
    return out.Take();
}

}  // namespace kestrix
