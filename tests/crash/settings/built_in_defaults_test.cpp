// \brief The built-in defaults: the values a reporter nobody configured uses, and that every
// setting with a typed accessor has one unless it is meant to be unset.
#include "crash/settings/built_in_defaults.h"

#include <gtest/gtest.h>

#include <set>

#include "crash/settings/setting_names.h"

namespace kestrix {
namespace {

TEST(BuiltInDefaults, DifferFromAConfiguredProgramWhereAnUnconfiguredOneNeedsIt) {
    const struct {
        const char* Name;
        std::string Value;
    } cases[] = {
        {"Enabled", "false"},
        {"NoSettings", "true"},
        {"AutoSave", "true"},
        {"AutoSendBox", "false"},
        {"AutoClip", "true"},
        {"SaveBtnVis", "false"},
        {"FocusedBtn", "0"},
        {"SendAssis", ""},
        {"SaveAssis", ""},
        {"PrintAssis", ""},
        {"UglyBtns", "false"},
        {"SendInBackgr", "true"},
        {"ScrShotDepth", "0"},
        {"F1Classes", ""},
        {"F1NoBugRep", "false"},
        {"F1NoScrShot", "false"},
        {"F1NoHandlers", "false"},
        {"F1NoSuspend", "false"},
        {"F1ShowCfg", "0"},
        {"AutoDelay", "60"},
        {"FreezeTimeout", "60000"},
        {"ContinueBtnTxt", "continue bug report"},
        {"RestartBtnTxt", "restart bug report"},
        {"CloseBtnTxt", "close bug report"},
        {"PrepAttMsg", "Prepare attachments..."},
        {"MailAddr", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::optional<PropertyRecord> setting = BuiltInDefault(c.Name);
        ASSERT_TRUE(setting);
        EXPECT_EQ(setting->AsString(), c.Value);
    }
}

TEST(BuiltInDefaults, EverySettingHasOneOfItsTypeExceptTheUnsetOnes) {
    const std::set<std::string> unset = {"MailFrom", "VersionVar", "MinDebugInfo"};
    const auto check = [&](const char* name, TPropertyType kind) {
        SCOPED_TRACE(name);
        const std::optional<PropertyRecord> setting = BuiltInDefault(name);
        if (unset.contains(name)) {
            EXPECT_FALSE(setting);
        } else {
            ASSERT_TRUE(setting);
            EXPECT_EQ(setting->Kind, kind);
        }
    };
#define KESTRIX_CHECK_BOOLEAN(Name) check(#Name, TPropertyType::ptBoolean);
#define KESTRIX_CHECK_INTEGER(Name) check(#Name, TPropertyType::ptInteger);
#define KESTRIX_CHECK_STRING(Name) check(#Name, TPropertyType::ptString);
    KESTRIX_BOOLEAN_SETTINGS(KESTRIX_CHECK_BOOLEAN)
    KESTRIX_INTEGER_SETTINGS(KESTRIX_CHECK_INTEGER)
    KESTRIX_STRING_SETTINGS(KESTRIX_CHECK_STRING)
    EXPECT_FALSE(BuiltInDefault("AddFields"));
    EXPECT_FALSE(BuiltInDefault("Assistant4"));
}

}  // namespace
}  // namespace kestrix
