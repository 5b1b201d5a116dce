// \brief The "TPF0" reader: every value type, nested objects, and damaged streams that keep what
// was read before the damage.
#include "crash/settings/form_stream_reader.h"

#include <gtest/gtest.h>

#include "form_stream_bytes.h"

namespace kestrix {
namespace {

using testing::StreamBytes;

struct ValueCase {
    const char* Label;
    std::vector<std::uint8_t> TypeAndValue;
    PropertyRecord Expected;
};

class FormStreamValueTypes : public ::testing::TestWithParam<ValueCase> {};

TEST_P(FormStreamValueTypes, ReadsTheValue) {
    const ValueCase& c = GetParam();
    StreamBytes stream;
    stream.Header("TKestrix", "Kestrix").Short("Value");
    for (const std::uint8_t b : c.TypeAndValue) {
        stream.Raw({b});
    }
    stream.Raw({0, 0});
    const FormStreamReadResult read = ReadFormStream(stream.Bytes());
    ASSERT_FALSE(read.Error) << read.Error->Reason;
    ASSERT_EQ(read.Root.Properties.size(), 1u);
    PropertyRecord expected = c.Expected;
    expected.Name = "Value";
    EXPECT_EQ(read.Root.Properties[0], expected);
}

INSTANTIATE_TEST_SUITE_P(
    AllTypes,
    FormStreamValueTypes,
    ::testing::Values(
        ValueCase{"Int8Negative", {2, 0xFE}, PropertyRecord::Integer("", -2)},
        ValueCase{"Int16LittleEndian", {3, 0x34, 0x82}, PropertyRecord::Integer("", -32204)},
        ValueCase{"Int32LittleEndian",
                  {4, 0x60, 0xEA, 0x00, 0x00},
                  PropertyRecord::Integer("", 60000)},
        ValueCase{"Int32Minimum", {4, 0, 0, 0, 0x80}, PropertyRecord::Integer("", INT32_MIN)},
        ValueCase{"ShortString", {6, 3, 'a', 'b', 'c'}, PropertyRecord::String("", "abc")},
        // 0x80 is the euro sign and 0xE9 e-acute in Windows-1252.
        ValueCase{"ShortStringWindows1252",
                  {6, 2, 0x80, 0xE9},
                  PropertyRecord::String("", "\u20AC\u00E9")},
        ValueCase{"False", {8}, PropertyRecord::Boolean("", false)},
        ValueCase{"True", {9}, PropertyRecord::Boolean("", true)},
        ValueCase{"LongString", {12, 2, 0, 0, 0, 'h', 'i'}, PropertyRecord::String("", "hi")},
        ValueCase{"EmptyLongString", {12, 0, 0, 0, 0}, PropertyRecord::String("", "")},
        // Omega, then G clef as a surrogate pair.
        ValueCase{"WideStringAsUtf8",
                  {18, 3, 0, 0, 0, 0xA9, 0x03, 0x34, 0xD8, 0x1E, 0xDD},
                  PropertyRecord::String("", "\u03A9\U0001D11E")}),
    [](const auto& testInfo) { return std::string(testInfo.param.Label); });

TEST(FormStreamReader, ReadsNestedObjectsInOrder) {
    StreamBytes stream;
    stream.Header("TKXContactForm", "ContactForm").Short("Message").Raw({6}).Short("Hi").Raw({0});
    stream.Short("INVButton").Short("ContinueBtn").Short("Visible").Raw({9, 0});
    stream.Raw({0});  // no items inside the button
    stream.Short("INVLabel").Short("").Raw({0, 0});
    stream.Raw({0});  // end of the form's items
    const FormStreamReadResult read = ReadFormStream(stream.Bytes());
    ASSERT_FALSE(read.Error) << read.Error->Reason;
    EXPECT_EQ(read.Root.ClassName, "TKXContactForm");
    EXPECT_EQ(read.Root.Name, "ContactForm");
    ASSERT_EQ(read.Root.Children.size(), 2u);
    EXPECT_EQ(read.Root.Children[0].Name, "ContinueBtn");
    ASSERT_NE(read.Root.Children[0].FindProperty("visible"), nullptr);
    EXPECT_TRUE(read.Root.Children[0].FindProperty("visible")->BoolValue);
    EXPECT_EQ(read.Root.Children[1].ClassName, "INVLabel");
    EXPECT_TRUE(read.Root.Children[1].Name.empty());
}

TEST(FormStreamReader, RootWithoutItemListEndsAfterItsProperties) {
    StreamBytes stream;
    stream.Header("TKestrix", "Kestrix").Short("Enabled").Raw({9, 0});
    const FormStreamReadResult read = ReadFormStream(stream.Bytes());
    EXPECT_FALSE(read.Error);
    EXPECT_EQ(read.Root.Properties.size(), 1u);
}

TEST(FormStreamReader, UnknownTypeKeepsThePropertiesReadBefore) {
    StreamBytes stream;
    stream.Header("TKestrix", "Kestrix").Short("Enabled").Raw({9});
    stream.Short("SmtpPort").Raw({2, 25});
    stream.Short("Ident").Raw({7, 3}).Text("abc").Short("After").Raw({9, 0, 0});
    const FormStreamReadResult read = ReadFormStream(stream.Bytes());
    ASSERT_TRUE(read.Error);
    EXPECT_EQ(read.Error->UnknownType, std::uint8_t{7});
    ASSERT_EQ(read.Root.Properties.size(), 2u);
    EXPECT_EQ(read.Root.Properties[1], PropertyRecord::Integer("SmtpPort", 25));
    EXPECT_EQ(InvalidResourceMessage("settings", *read.Error),
              "Internal error: Invalid settings resource ($07).");
}

TEST(FormStreamReader, DamageInsideAnItemKeepsTheItemsBefore) {
    StreamBytes stream;
    stream.Header("TKXDetailsForm", "DetailsForm").Raw({0});
    stream.Short("INVButton").Short("SkipBtn").Short("Caption").Raw({6}).Short("Skip").Raw({0, 0});
    stream.Short("INVEdit").Short("DetailsMemo").Short("Lines").Raw({2, 9});
    stream.Short("Text").Raw({0xAB});
    const FormStreamReadResult read = ReadFormStream(stream.Bytes());
    ASSERT_TRUE(read.Error);
    EXPECT_EQ(InvalidResourceMessage("assistant", *read.Error),
              "Internal error: Invalid assistant resource ($AB).");
    ASSERT_EQ(read.Root.Children.size(), 2u);
    EXPECT_EQ(read.Root.Children[0].FindProperty("Caption")->StringValue, "Skip");
    EXPECT_EQ(read.Root.Children[1].FindProperty("Lines")->IntValue, 9);
}

TEST(FormStreamReader, RefusesTruncatedAndForeignStreams) {
    const struct {
        const char* Label;
        std::vector<std::uint8_t> Bytes;
    } cases[] = {
        {"empty", {}},
        {"other signature", StreamBytes().Text("TPF1").Short("T").Short("N").Raw({0}).Bytes()},
        {"short string beyond the end", StreamBytes().Header("T", "N").Raw({5, 'a'}).Bytes()},
        {"long string beyond the end",
         StreamBytes().Header("T", "N").Short("S").Raw({12, 0xFF, 0xFF, 0xFF, 0x7F, 'a'}).Bytes()},
        {"wide string beyond the end",
         StreamBytes().Header("T", "N").Short("S").Raw({18, 2, 0, 0, 0, 'a', 0, 'b'}).Bytes()},
        {"integer cut short", StreamBytes().Header("T", "N").Short("I").Raw({4, 1, 2}).Bytes()},
        {"item list not ended",
         StreamBytes().Header("T", "N").Raw({0}).Short("C").Short("").Raw({0, 0}).Bytes()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Label);
        const FormStreamReadResult read = ReadFormStream(c.Bytes);
        ASSERT_TRUE(read.Error);
        EXPECT_FALSE(read.Error->UnknownType);
        EXPECT_FALSE(read.Error->Reason.empty());
    }
}

TEST(FormStreamReader, RefusesNestingBeyondTheLimit) {
    StreamBytes stream;
    stream.Header("T", "N").Raw({0});
    for (int i = 0; i < 40; ++i) {
        stream.Short("C").Short("").Raw({0});
    }
    const FormStreamReadResult read = ReadFormStream(stream.Bytes());
    ASSERT_TRUE(read.Error);
    EXPECT_NE(read.Error->Reason.find("nested"), std::string::npos);
}

}  // namespace
}  // namespace kestrix
