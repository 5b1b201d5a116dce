// \brief The plug-in registry: the three built-in plug-ins, registering, replacing, removing,
// the choice by `Plugins`, and a failing plug-in.
#include "crash/report/bug_report_plugins.h"

#include <gtest/gtest.h>

namespace kestrix {
namespace {

std::vector<std::string> Names(const std::vector<TBugReportPlugin>& plugins) {
    std::vector<std::string> names;
    for (const TBugReportPlugin& plugin : plugins)
        names.push_back(plugin.Name);
    return names;
}

TEST(BugReportPlugins, TheThreeListsAreRegisteredWithSectionsOfTheirOwn) {
    const auto plugins = BugReportPlugins();
    ASSERT_GE(plugins.size(), 3u);
    const std::vector<std::pair<std::string, std::string>> expected{
        {"modules", "list of loaded modules"},
        {"processes", "list of running processes"},
        {"hardware", "list of installed hardware"}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(plugins[i].Name, expected[i].first);
        EXPECT_EQ(plugins[i].Description, expected[i].second);
        EXPECT_TRUE(plugins[i].OwnSection);
    }
    // The modules plug-in lists this program.
    EXPECT_NE(BugReportPluginText(plugins[0], nullptr, false, false).find("kestrix_report_tests"),
              std::string::npos);
}

TEST(BugReportPlugins, RegisterReplacesByNameAndUnregisterRemoves) {
    RegisterBugReportPlugin(
        "build", "the build", [] { return std::string("first"); }, false);
    RegisterBugReportPlugin(
        "BUILD", "the build again", [] { return std::string("second"); }, true);
    auto plugins = BugReportPlugins();
    ASSERT_EQ(Names(plugins).back(), "BUILD");
    EXPECT_EQ(plugins.size(), 4u);
    EXPECT_EQ(BugReportPluginText(plugins.back(), nullptr, false, false), "second");
    EXPECT_TRUE(plugins.back().OwnSection);
    UnregisterBugReportPlugin("Build");
    EXPECT_EQ(Names(BugReportPlugins()),
              (std::vector<std::string>{"modules", "processes", "hardware"}));
}

TEST(BugReportPlugins, PluginsChoosesWhichAppearAndInWhichOrder) {
    RegisterBugReportPlugin(
        "extra", "", [] { return std::string(); }, true);
    EXPECT_EQ(Names(SelectedBugReportPlugins({"hardware", "unknown", "Modules", "hardware"})),
              (std::vector<std::string>{"hardware", "modules"}));
    EXPECT_EQ(Names(SelectedBugReportPlugins({"modules", "processes", "hardware"})),
              (std::vector<std::string>{"modules", "processes", "hardware"}));
    EXPECT_TRUE(SelectedBugReportPlugins({}).empty());
    UnregisterBugReportPlugin("extra");
}

TEST(BugReportPlugins, TheFailureFormGetsTheFailureAndAFailureBecomesAnInternalError) {
    bool called = false;
    RegisterBugReportPlugin(
        "failing", "",
        [&](const std::shared_ptr<IKXException>& exception) -> std::string {
            called = exception == nullptr;
            throw std::runtime_error("plug-in trouble");
        },
        true);
    const auto plugins = SelectedBugReportPlugins({"failing"});
    ASSERT_EQ(plugins.size(), 1u);
    const std::string text = BugReportPluginText(plugins[0], nullptr, false, false);
    EXPECT_TRUE(called);
    EXPECT_TRUE(text.starts_with(">> internal error in plugin:\r\n")) << text;
    EXPECT_NE(text.find("BugReportPluginText"), std::string::npos) << text;
    UnregisterBugReportPlugin("failing");
}

}  // namespace
}  // namespace kestrix
