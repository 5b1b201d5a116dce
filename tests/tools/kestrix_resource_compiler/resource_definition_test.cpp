// \brief The readable resource definitions: values of every kind, nested objects, errors that
// name the line, and the round trip through the binary stream and its reader.
#include "resource_definition.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "crash/settings/form_stream_reader.h"
#include "crash/settings/form_stream_writer.h"

namespace kestrix {
namespace {

std::string EveryKind() {
    return R"(# every kind of value
resource TKESTRIX
object Kestrix: TKestrix
  Tiny = -7          # 8-bit
  Medium = 0x7FFF    # 16-bit
  Large = -2147483648
  On = true
  Off = false
  Short = "say \"hi\"\\ %LF%"
  Joined = "line one\r\n"
           "line two"
  Long = ")" +
           std::string(300, 'L') + R"("
  Wide = "Ω and 𝄞"
  object ContinueBtn: INVButton
    Caption = "Next >"
  end
  object Item: INVLabel
  end
end
)";
}

TEST(ResourceDefinition, ParsesEveryKindOfValueAndNestedObjects) {
    const ResourceDefinition definition = ParseResourceDefinition(EveryKind(), "every.txt");
    EXPECT_EQ(definition.ResourceName, "TKESTRIX");
    const FormObject& root = definition.Root;
    EXPECT_EQ(root.ClassName, "TKestrix");
    EXPECT_EQ(root.Name, "Kestrix");
    const std::vector<PropertyRecord> expected = {
        PropertyRecord::Integer("Tiny", -7),
        PropertyRecord::Integer("Medium", 0x7FFF),
        PropertyRecord::Integer("Large", INT32_MIN),
        PropertyRecord::Boolean("On", true),
        PropertyRecord::Boolean("Off", false),
        PropertyRecord::String("Short", "say \"hi\"\\ %LF%"),
        PropertyRecord::String("Joined", "line one\r\nline two"),
        PropertyRecord::String("Long", std::string(300, 'L')),
        PropertyRecord::String("Wide", "Ω and 𝄞"),
    };
    EXPECT_EQ(root.Properties, expected);
    ASSERT_EQ(root.Children.size(), 2u);
    EXPECT_EQ(root.Children[0].FindProperty("Caption")->StringValue, "Next >");
    EXPECT_EQ(root.Children[1].ClassName, "INVLabel");
}

TEST(ResourceDefinition, EveryValueTypeRoundTripsThroughTheReader) {
    const ResourceDefinition definition = ParseResourceDefinition(EveryKind(), "every.txt");
    const std::vector<std::uint8_t> bytes = WriteFormStream(definition.Root);
    // The type byte that follows each property's length-prefixed name.
    const std::pair<std::string, std::uint8_t> types[] = {
        {"Tiny", 2},  {"Medium", 3}, {"Large", 4}, {"On", 9},   {"Off", 8},
        {"Short", 6}, {"Joined", 6}, {"Long", 12}, {"Wide", 18}};
    for (const auto& [name, type] : types) {
        SCOPED_TRACE(name);
        std::vector<std::uint8_t> prefixed{std::uint8_t(name.size())};
        prefixed.insert(prefixed.end(), name.begin(), name.end());
        const auto at = std::search(bytes.begin(), bytes.end(), prefixed.begin(), prefixed.end());
        ASSERT_NE(at, bytes.end());
        EXPECT_EQ(*(at + std::ptrdiff_t(prefixed.size())), type);
    }
    const FormStreamReadResult read = ReadFormStream(bytes);
    ASSERT_FALSE(read.Error) << read.Error->Reason;
    EXPECT_EQ(read.Root, definition.Root);
}

TEST(ResourceDefinition, ErrorsNameTheSourceAndLine) {
    const struct {
        const char* Text;
        const char* Message;
    } cases[] = {
        {"object A: B\nend", "t.txt:1: expected \"resource\", found \"object\""},
        {"resource R\nobject A: B\n  X = 1\n",
         "t.txt:4: expected a property name, \"object\" "
         "or \"end\", found the end of the text"},
        {"resource R\nobject A: B\n  X = 2147483648\nend",
         "t.txt:3: \"2147483648\" is not a "
         "32-bit integer"},
        {"resource R\nobject A: B\n  X = \"open\nend",
         "t.txt:3: string not closed before the "
         "end of the line"},
        {"resource R\nobject A: B\n  X = \"\\q\"\nend",
         "t.txt:3: unknown escape '\\q' in a "
         "string"},
        {"resource R\nobject A: B\n  X = yes\nend",
         "t.txt:3: expected a value (true, false, an "
         "integer or a string) for X, found \"yes\""},
        {"resource R\nobject A B\nend",
         "t.txt:2: expected \":\" after the object name, found "
         "\"B\""},
        {"resource R\nobject A: B\nend\nend", "t.txt:4: text after the end of the object: \"end\""},
        {"resource R\nobject A: B\n  X = 1 ;\nend", "t.txt:3: unexpected character ';'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        try {
            ParseResourceDefinition(c.Text, "t.txt");
            ADD_FAILURE() << "no error";
        } catch (const DefinitionError& error) {
            EXPECT_STREQ(error.what(), c.Message);
        }
    }
}

}  // namespace
}  // namespace kestrix
