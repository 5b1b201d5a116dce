// The failure box's rules without a window: the button arrangement, the disabled continue button,
// the automatic button, the close rule and the message's line breaks.
#include "crash/ui/failure_box_rules.h"

#include <gtest/gtest.h>

namespace kestrix {
namespace {

VisibleButtons Shown(std::initializer_list<TKXButton> buttons) {
    VisibleButtons visible{};
    for (const TKXButton button : buttons) {
        visible[button] = true;
    }
    return visible;
}

struct ArrangementCase {
    const char* Name;
    VisibleButtons Visible;
    std::vector<TKXButton> Row;
    std::vector<TKXButton> Column;
};

TEST(FailureBoxRules, ArrangesReportButtonsInARowAndOutcomesInAColumnOnlyWithBoth) {
    const std::vector<ArrangementCase> cases = {
        {"this program's buttons",
         Shown({bSendBugReport, bSaveBugReport, bShowBugReport, bContinueApplication,
                bRestartApplication, bCloseApplication}),
         {bSendBugReport, bSaveBugReport, bShowBugReport},
         {bContinueApplication, bRestartApplication, bCloseApplication}},
        {"one outcome button",
         Shown({bSaveBugReport, bCloseApplication}),
         {bSaveBugReport, bCloseApplication},
         {}},
        {"no report button",
         Shown({bContinueApplication, bCloseApplication}),
         {bContinueApplication, bCloseApplication},
         {}},
        {"two outcomes and print",
         Shown({bPrintBugReport, bRestartApplication, bCloseApplication}),
         {bPrintBugReport},
         {bRestartApplication, bCloseApplication}},
    };
    for (const ArrangementCase& each : cases) {
        SCOPED_TRACE(each.Name);
        const ButtonArrangement arrangement = ArrangeButtons(each.Visible);
        EXPECT_EQ(arrangement.Row, each.Row);
        EXPECT_EQ(arrangement.Column, each.Column);
    }
}

TEST(FailureBoxRules, DisablesContinueOnlyWhenTheFailureCannotContinueAndAnotherWayOutExists) {
    EXPECT_TRUE(ContinueDisabled(Shown({bContinueApplication, bCloseApplication}), false));
    EXPECT_TRUE(ContinueDisabled(Shown({bContinueApplication, bRestartApplication}), false));
    EXPECT_FALSE(ContinueDisabled(Shown({bContinueApplication}), false));
    EXPECT_FALSE(ContinueDisabled(Shown({bContinueApplication, bCloseApplication}), true));
}

TEST(FailureBoxRules, ChoosesCloseThenRestartThenContinueAsTheAutomaticButton) {
    const VisibleButtons all =
        Shown({bContinueApplication, bRestartApplication, bCloseApplication});
    EXPECT_EQ(AutomaticButton({.Close = true, .Restart = true, .Continue = true}, all, true),
              bCloseApplication);
    EXPECT_EQ(AutomaticButton({.Close = false, .Restart = true, .Continue = true}, all, true),
              bRestartApplication);
    EXPECT_EQ(AutomaticButton({.Close = false, .Restart = false, .Continue = true}, all, true),
              bContinueApplication);
    // A hidden button or a failure that cannot continue gives way to the next rule.
    EXPECT_EQ(AutomaticButton({.Close = true, .Restart = false, .Continue = true},
                              Shown({bContinueApplication}), true),
              bContinueApplication);
    EXPECT_EQ(AutomaticButton({.Close = false, .Restart = false, .Continue = true}, all, false),
              std::nullopt);
    EXPECT_EQ(AutomaticButton({}, all, true), std::nullopt);
}

struct CloseCase {
    const char* Name;
    int Focused;
    VisibleButtons Visible;
    bool CanContinue;
    bool SmallBox;
    TExceptAction Expected;
};

TEST(FailureBoxRules, ClosingTheWindowFollowsTheFocusedOutcomeThenContinueCloseRestart) {
    const VisibleButtons all =
        Shown({bSaveBugReport, bContinueApplication, bRestartApplication, bCloseApplication});
    const std::vector<CloseCase> cases = {
        {"save focused, can continue", bSaveBugReport, all, true, false, eaContinueApplication},
        {"save focused, cannot continue", bSaveBugReport, all, false, false, eaCloseApplication},
        {"restart focused", bRestartApplication, all, true, false, eaRestartApplication},
        {"close focused", bCloseApplication, all, true, false, eaCloseApplication},
        {"continue focused but disabled", bContinueApplication, all, false, false,
         eaCloseApplication},
        {"close focused but hidden", bCloseApplication,
         Shown({bContinueApplication, bRestartApplication}), true, false, eaContinueApplication},
        {"only restart", bSaveBugReport, Shown({bSaveBugReport, bRestartApplication}), false, false,
         eaRestartApplication},
        {"small box, can continue", bSaveBugReport, Shown({bContinueApplication}), true, true,
         eaContinueApplication},
        {"small box, cannot continue", bSaveBugReport, Shown({bContinueApplication}), false, true,
         eaCloseApplication},
    };
    for (const CloseCase& each : cases) {
        SCOPED_TRACE(each.Name);
        EXPECT_EQ(CloseRequestAction(each.Focused, each.Visible, each.CanContinue, each.SmallBox),
                  each.Expected);
    }
}

TEST(FailureBoxRules, BreaksTheMessageAfterPointsFarFromBothEnds) {
    EXPECT_EQ(BreakExceptionMessage("The first sentence here. The second sentence here. End."),
              "The first sentence here. \nThe second sentence here. End.");
    EXPECT_EQ(BreakExceptionMessage("Invalid value in scan 3. Slit 2 has no peak. Load again."),
              "Invalid value in scan 3. \nSlit 2 has no peak. \nLoad again.");
    // Too near the start, too near the end.
    EXPECT_EQ(BreakExceptionMessage("Short. A sentence ending close. Tail."),
              "Short. A sentence ending close. Tail.");
    EXPECT_EQ(BreakExceptionMessage("A message without a point"), "A message without a point");
}

}  // namespace
}  // namespace kestrix
