// The class filters: the first filter naming the class or an ancestor decides, else the general
// rule.
#include "crash/core/class_filters.h"

#include <gtest/gtest.h>

#include "crash/settings/module_settings.h"
#include "crash/settings/settings_overlay.h"

namespace kestrix {
namespace {

class ClassFilters : public ::testing::Test {
  protected:
    ClassFilters() {
        m_settings.SetF1Classes("EDBEditError,EFirst");
        m_settings.SetBool("F1NoBugRep", true);
        m_settings.SetInt("F1ShowCfg", ssSimpleBox);
        m_settings.SetF2Classes("ESecond");
        m_settings.SetBool("F2NoHandlers", true);
        m_settings.SetString("F2Assis", "SecondAssistant");
        m_settings.SetInt("GnShowCfg", ssFullBox);
        m_settings.SetInt("ScrShotDepth", 8);
        m_settings.SetBool("PauseThreads", true);
    }
    SettingsOverlay m_settings{KXSettings()};
};

TEST_F(ClassFilters, ChooseTheFirstFilterNamingTheClassOrAnAncestor) {
    const struct {
        std::vector<std::string> Names;
        std::string Filter;
    } cases[] = {
        {{"EDBEditError", "Exception"}, "F1"}, {{"EChild", "EFirst", "Exception"}, "F1"},
        {{"ESecond", "EFirst"}, "F1"},         {{"EChild", "ESecond"}, "F2"},
        {{"EOther", "Exception"}, "Gn"},       {{}, "Gn"},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.Filter);
        EXPECT_EQ(ChosenFilter(m_settings, each.Names), each.Filter);
    }
}

TEST_F(ClassFilters, TakeTheSixDecisionsOfTheChosenFilter) {
    const FilterDecisions first = DecideByClassFilters(m_settings, {"EFirst"});
    EXPECT_FALSE(first.CreateBugReport);
    EXPECT_EQ(first.ShowSetting, ssSimpleBox);
    EXPECT_TRUE(first.CallHandlers);

    const FilterDecisions second = DecideByClassFilters(m_settings, {"ESecond"});
    EXPECT_TRUE(second.CreateBugReport);
    EXPECT_FALSE(second.CallHandlers);
    EXPECT_EQ(second.AssistantName, "SecondAssistant");

    const FilterDecisions general = DecideByClassFilters(m_settings, {"EOther"});
    EXPECT_TRUE(general.CreateScreenshot);
    EXPECT_TRUE(general.AppendScreenshot);
    EXPECT_TRUE(general.PauseThreads);
    EXPECT_EQ(general.ShowSetting, ssFullBox);
}

TEST_F(ClassFilters, TakeScreenshotsOnlyWithADepthAndPauseOnlyWhenPausingIsOn) {
    m_settings.SetInt("ScrShotDepth", 0);
    m_settings.SetBool("PauseThreads", false);
    const FilterDecisions decisions = DecideByClassFilters(m_settings, {"EOther"});
    EXPECT_FALSE(decisions.CreateScreenshot);
    EXPECT_FALSE(decisions.AppendScreenshot);
    EXPECT_FALSE(decisions.PauseThreads);
}

TEST_F(ClassFilters, ReadAShowSettingOutOfRangeAsTheFullBox) {
    m_settings.SetInt("GnShowCfg", 9);
    EXPECT_EQ(DecideByClassFilters(m_settings, {}).ShowSetting, ssFullBox);
    m_settings.SetInt("GnShowCfg", ssNothing);
    EXPECT_EQ(DecideByClassFilters(m_settings, {}).ShowSetting, ssNothing);
}

}  // namespace
}  // namespace kestrix
