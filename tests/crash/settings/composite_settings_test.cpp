// \brief The composite settings: lists, assistant definitions, attachments, fields and plug-ins.
#include "crash/settings/composite_settings.h"

#include <gtest/gtest.h>

namespace kestrix {
namespace {

TEST(CompositeSettings, SplitsListsAndDropsEmptyParts) {
    EXPECT_EQ(SplitSettingList("EDBEditError,EAbort,,", ','),
              (std::vector<std::string>{"EDBEditError", "EAbort"}));
    EXPECT_TRUE(SplitSettingList("", ',').empty());
}

TEST(CompositeSettings, AssistantDefinitionNameTitleAndForms) {
    EXPECT_EQ(
        ParseAssistantDefinition("SaveAssistant|Save Assistant|ContactForm|DetailsForm"),
        (AssistantDefinition{"SaveAssistant", "Save Assistant", {"ContactForm", "DetailsForm"}}));
    EXPECT_EQ(ParseAssistantDefinition("Bare"), (AssistantDefinition{"Bare", "", {}}));
    EXPECT_FALSE(ParseAssistantDefinition(""));
    EXPECT_FALSE(ParseAssistantDefinition("|title|Form"));
}

TEST(CompositeSettings, AttachmentsOfFourParts) {
    EXPECT_EQ(ParseAdditionalAttachments("/var/log/a.log>a.txt>logs.zip>Log|/tmp/b"),
              (std::vector<AdditionalAttachment>{{"/var/log/a.log", "a.txt", "logs.zip", "Log"},
                                                 {"/tmp/b", "", "", ""}}));
}

TEST(CompositeSettings, FieldsKeepOrderAndEqualsInTheContent) {
    const std::shared_ptr<IKXFields> fields = ParseAdditionalFields("b=2|a=x=y|flag");
    ASSERT_EQ(fields->Count(), 3u);
    EXPECT_EQ(fields->Name(0), "b");
    EXPECT_EQ(fields->Content(1), "x=y");
    EXPECT_EQ(fields->Name(2), "flag");
    EXPECT_EQ(fields->Content(2), "");
}

TEST(CompositeSettings, PluginsAddAndRemoveWithTheirSeparator) {
    EXPECT_EQ(WithPlugin("modules|processes", "hardware"), "modules|processes|hardware");
    EXPECT_EQ(WithPlugin("", "hardware"), "hardware");
    EXPECT_EQ(WithPlugin("modules|hardware", "Hardware"), "modules|hardware");
    EXPECT_EQ(WithoutPlugin("modules|processes|hardware", "processes"), "modules|hardware");
    EXPECT_EQ(WithoutPlugin("modules|processes|hardware", "modules"), "processes|hardware");
    EXPECT_EQ(WithoutPlugin("modules", "MODULES"), "");
    EXPECT_EQ(WithoutPlugin("modules", "absent"), "modules");
}

}  // namespace
}  // namespace kestrix
