// \brief The "TPF0" writer: the type it chooses for each value, and that the reader gives back
// exactly what it wrote.
#include "crash/settings/form_stream_writer.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "crash/settings/form_stream_reader.h"

namespace kestrix {
namespace {

// The value-type byte the writer put down for a single property of the root object.
std::uint8_t WrittenType(const PropertyRecord& property) {
    FormObject root{"TKestrix", "Kestrix", {property}, {}};
    const std::vector<std::uint8_t> bytes = WriteFormStream(root);
    const std::size_t typeOffset = 4 + 1 + 8 + 1 + 7 + 1 + property.Name.size();
    return bytes.at(typeOffset);
}

TEST(FormStreamWriter, ChoosesTheSmallestTypeThatHoldsTheValue) {
    const struct {
        PropertyRecord Property;
        std::uint8_t Type;
    } cases[] = {
        {PropertyRecord::Integer("V", -128), 2},
        {PropertyRecord::Integer("V", 127), 2},
        {PropertyRecord::Integer("V", 128), 3},
        {PropertyRecord::Integer("V", -32768), 3},
        {PropertyRecord::Integer("V", 32768), 4},
        {PropertyRecord::Boolean("V", false), 8},
        {PropertyRecord::Boolean("V", true), 9},
        {PropertyRecord::String("V", std::string(255, 'x')), 6},
        {PropertyRecord::String("V", "\u20AC"), 6},
        {PropertyRecord::String("V", std::string(256, 'x')), 12},
        {PropertyRecord::String("V", "\u03A9"), 18},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Property.AsString().substr(0, 20));
        EXPECT_EQ(WrittenType(c.Property), c.Type);
    }
}

TEST(FormStreamWriter, RoundTripsEveryValueTypeAndNestedObjects) {
    FormObject button{"INVButton", "ContinueBtn", {PropertyRecord::Boolean("Visible", true)}, {}};
    FormObject label{"INVLabel", "", {PropertyRecord::String("Caption", "caf\u00E9")}, {}};
    FormObject root{"TKXContactForm",
                    "ContactForm",
                    {PropertyRecord::Integer("Tiny", -5), PropertyRecord::Integer("Mid", 1000),
                     PropertyRecord::Integer("Big", INT32_MIN),
                     PropertyRecord::Boolean("Off", false), PropertyRecord::Boolean("On", true),
                     PropertyRecord::String("Short", "Contact Information"),
                     PropertyRecord::String("Long", std::string(300, 'L')),
                     PropertyRecord::String("Wide", "\u03A9 \U0001D11E")},
                    {button, label}};
    const FormStreamReadResult read = ReadFormStream(WriteFormStream(root));
    ASSERT_FALSE(read.Error) << read.Error->Reason;
    EXPECT_EQ(read.Root, root);
}

TEST(FormStreamWriter, RefusesWhatTheFormatCannotHold) {
    const FormObject cases[] = {
        {"", "NoClass", {}, {}},
        {"T", "N", {PropertyRecord::Boolean("", true)}, {}},
        {"T", "N", {PropertyRecord::Boolean(std::string(256, 'n'), true)}, {}},
        {"T", "\u03A9", {}, {}},
        {"T", "N", {PropertyRecord{"Blob", TPropertyType::ptBinary, false, 0, "x"}}, {}},
    };
    for (const FormObject& object : cases) {
        SCOPED_TRACE(object.Name);
        EXPECT_THROW(WriteFormStream(object), std::invalid_argument);
    }
}

}  // namespace
}  // namespace kestrix
