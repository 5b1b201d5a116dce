// The failure boxes on the offscreen platform: the buttons and their places, the disabled continue
// button, the close rule, the automatic button, the small boxes and the full box after "&Details".
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <functional>

#include "crash/settings/exported_switches.h"
#include "crash/ui/details_view.h"
#include "crash/ui/failure_box_run.h"
#include "crash/ui/full_failure_box.h"
#include "crash/ui/picture_button.h"
#include "crash/ui/small_failure_box.h"
#include "tests/crash/ui/sample_box_content.h"

namespace kestrix {
namespace {

const std::string Report =
    "date/time    : 2026-12-10\r\nexception    : EConvertError\r\n\r\nmain thread ($1f2):\r\n"
    "00401000 +010 gatool main.cpp 12 +1 main\r\n\r\nmodules:\r\n"
    "00400000 gatool 1.0.0.0 /opt/gatool\r\n";

FailureBoxServices ReportOnly() {
    FailureBoxServices services;
    services.ReportText = [] { return Report; };
    return services;
}

// Runs the question when the box is up, in the box's own event loop.
void WhenShown(std::function<void()> answer) {
    QTimer::singleShot(0, qApp, std::move(answer));
}

template <typename Box>
Box* ShownBox() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* box = dynamic_cast<Box*>(window); box != nullptr && box->isVisible()) {
            return box;
        }
    }
    return nullptr;
}

TEST(FullFailureBox, StandsReportButtonsInARowAndOutcomeButtonsInAColumnAtTheRight) {
    FullFailureBox box(SampleBoxContent(), {});
    box.show();
    const QPoint send = box.Button(bSendBugReport)->mapTo(&box, QPoint(0, 0));
    const QPoint show = box.Button(bShowBugReport)->mapTo(&box, QPoint(0, 0));
    const QPoint proceed = box.Button(bContinueApplication)->mapTo(&box, QPoint(0, 0));
    const QPoint restart = box.Button(bRestartApplication)->mapTo(&box, QPoint(0, 0));
    EXPECT_EQ(send.y(), show.y());
    EXPECT_LT(send.x(), show.x());
    EXPECT_GT(proceed.x(), show.x() + box.Button(bShowBugReport)->width());
    EXPECT_EQ(proceed.x(), restart.x());
    EXPECT_LT(proceed.y(), restart.y());
    EXPECT_FALSE(box.Button(bPrintBugReport)->isVisible());
    EXPECT_EQ(box.Button(bSaveBugReport)->height(), 26);
    EXPECT_FALSE(box.Button(bSaveBugReport)->icon().isNull());
    EXPECT_EQ(box.focusWidget(), box.Button(bSaveBugReport));
    EXPECT_EQ(box.windowTitle(), "gatool");
    EXPECT_TRUE(box.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_GE(box.findChild<QLabel*>("message")->width(), 664 - 44);
}

TEST(FullFailureBox, ComesBackWhenMinimised) {
    FullFailureBox box(SampleBoxContent(), {});
    box.show();
    box.setWindowState(Qt::WindowMinimized);
    QTRY_VERIFY(!(box.windowState() & Qt::WindowMinimized));
}

TEST(FullFailureBox, PlainButtonsAreLowerAndWithoutPictures) {
    FailureBoxContent content = SampleBoxContent();
    content.PictureButtons = false;
    FullFailureBox box(content, {});
    EXPECT_EQ(box.Button(bSaveBugReport)->height(), 22);
    EXPECT_TRUE(box.Button(bSaveBugReport)->icon().isNull());
}

struct CloseCase {
    const char* Name;
    bool CanContinue;
    int Key;
    TExceptAction Expected;
};

TEST(FullFailureBox, EscAndTheTitleBarFollowTheCloseRule) {
    const std::vector<CloseCase> cases = {
        {"Esc, can continue", true, Qt::Key_Escape, eaContinueApplication},
        {"Esc, cannot continue", false, Qt::Key_Escape, eaCloseApplication},
        {"title bar, cannot continue", false, 0, eaCloseApplication},
    };
    for (const CloseCase& each : cases) {
        SCOPED_TRACE(each.Name);
        FailureBoxContent content = SampleBoxContent();
        content.CanContinue = each.CanContinue;
        FullFailureBox box(content, {});
        box.show();
        EXPECT_EQ(box.Button(bContinueApplication)->isEnabled(), each.CanContinue);
        if (each.Key != 0) {
            QTest::keyClick(&box, static_cast<Qt::Key>(each.Key));
        } else {
            box.close();
        }
        EXPECT_EQ(box.Outcome(), each.Expected);
        EXPECT_FALSE(box.isVisible());
    }
}

TEST(FullFailureBox, ArrowKeysMoveBetweenButtonsAndEnterPressesTheFocusedOne) {
    FullFailureBox box(SampleBoxContent(), {});
    box.show();
    QApplication::setActiveWindow(&box);
    box.Button(bShowBugReport)->setFocus();
    QTest::keyClick(box.Button(bShowBugReport), Qt::Key_Right);
    EXPECT_TRUE(box.Button(bContinueApplication)->hasFocus());
    QTest::keyClick(box.Button(bContinueApplication), Qt::Key_Down);
    ASSERT_TRUE(box.Button(bRestartApplication)->hasFocus());
    QTest::keyClick(box.Button(bRestartApplication), Qt::Key_Return);
    EXPECT_EQ(box.Outcome(), eaRestartApplication);
}

TEST(FullFailureBox, TheAutomaticButtonFillsUpAndPressesItselfOverItsDelay) {
    FailureBoxContent content = SampleBoxContent();
    content.Automatic = bContinueApplication;
    content.FocusedButton = bContinueApplication;
    content.DelaySeconds = 1;
    FullFailureBox box(content, {});
    box.show();
    EXPECT_EQ(box.focusWidget(), box.Button(bContinueApplication));
    QTRY_VERIFY(box.Button(bContinueApplication)->Fill() > 0);
    EXPECT_FALSE(box.Outcome().has_value());
    QTRY_COMPARE_WITH_TIMEOUT(box.Outcome(), std::optional(eaContinueApplication), 5000);
}

TEST(FullFailureBox, PressingAnotherButtonStopsTheAutomaticButton) {
    FailureBoxContent content = SampleBoxContent();
    content.Automatic = bCloseApplication;
    content.FocusedButton = bCloseApplication;
    content.DelaySeconds = 1;
    FullFailureBox box(content, ReportOnly());
    box.show();
    box.Button(bShowBugReport)->click();
    EXPECT_EQ(box.Button(bCloseApplication)->Fill(), 0);
    // Well past the delay the box is still waiting for the user.
    QTest::qWait(1500);
    EXPECT_FALSE(box.Outcome().has_value());
    EXPECT_EQ(box.Button(bCloseApplication)->Fill(), 0);
}

TEST(FullFailureBox, AnActionHandlerThatHandlesAnActionCancelsIt) {
    std::vector<TExceptAction> asked;
    int saves = 0;
    FullFailureBox box(SampleBoxContent(), {.ReportText = [] { return Report; },
                                            .ActionHandled =
                                                [&](TExceptAction action, QWidget*) {
                                                    asked.push_back(action);
                                                    return action == eaShowBugReport;
                                                },
                                            .RunReportAction =
                                                [&](TExceptAction, QWidget*) {
                                                    ++saves;
                                                    return true;
                                                }});
    box.show();
    box.Button(bShowBugReport)->click();
    EXPECT_EQ(box.Details(), nullptr);
    box.Button(bSaveBugReport)->click();
    EXPECT_EQ(saves, 1);
    // A save into a file of fixed place has done its work: the button leaves.
    EXPECT_FALSE(box.Button(bSaveBugReport)->isVisible());
    EXPECT_EQ(asked, (std::vector{eaShowBugReport, eaSaveBugReport}));
}

TEST(FullFailureBox, ShowBugReportOpensTheDetailsViewTallerAndResizable) {
    FullFailureBox box(SampleBoxContent(), ReportOnly());
    box.show();
    const int plainHeight = box.height();
    EXPECT_EQ(box.minimumSize(), box.maximumSize());
    box.Button(bShowBugReport)->click();
    ASSERT_NE(box.Details(), nullptr);
    EXPECT_EQ(box.height(), plainHeight + 474);
    EXPECT_NE(box.minimumSize(), box.maximumSize());
    QStringList tabs;
    for (int tab = 0; tab < box.Details()->count(); ++tab) {
        tabs << box.Details()->tabText(tab);
    }
    EXPECT_EQ(tabs, (QStringList{"general", "call stack", "modules"}));
}

TEST(FullFailureBox, CtrlShiftAltWithTheShowBugReportKeyOpensTheDetailsView) {
    FullFailureBox box(SampleBoxContent(), ReportOnly());
    box.show();
    const auto together = Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier;
    QTest::keyClick(&box, Qt::Key_R, together);
    EXPECT_EQ(box.Details(), nullptr) << "the key is off (0) unless the program sets one";
    ShowBugReportKey = 'R';
    QTest::keyClick(&box, Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(box.Details(), nullptr);
    QTest::keyClick(&box, Qt::Key_R, together);
    ShowBugReportKey = 0;
    EXPECT_NE(box.Details(), nullptr);
}

TEST(SmallFailureBox, ShowsTheExceptionMessageUnderTheProgramsNameWithOkAndDetails) {
    FailureBoxContent content = SampleBoxContent();
    content.Mode = ssDetailBox;
    SmallFailureBox detail(content);
    EXPECT_EQ(detail.windowTitle(), "gatool");
    ASSERT_NE(detail.DetailsButton(), nullptr);
    EXPECT_EQ(detail.OkButton()->text(), "&OK");
    EXPECT_GE(detail.OkButton()->sizeHint().expandedTo(detail.OkButton()->minimumSize()).width(),
              79);
    content.Mode = ssSimpleBox;
    SmallFailureBox simple(content);
    EXPECT_EQ(simple.DetailsButton(), nullptr);
    simple.show();
    QTest::keyClick(&simple, Qt::Key_Escape);
    EXPECT_EQ(simple.Outcome(), eaContinueApplication);
}

TEST(FailureBoxRun, TheSimpleBoxsOkContinues) {
    FailureBoxContent content = SampleBoxContent();
    content.Mode = ssSimpleBox;
    WhenShown([] { ShownBox<SmallFailureBox>()->OkButton()->click(); });
    EXPECT_EQ(RunFailureBox(content, {}), eaContinueApplication);
}

TEST(FailureBoxRun, DetailsShowsTheFullBoxWithItsDetailsOpenAndNoAutomaticButton) {
    FailureBoxContent content = SampleBoxContent();
    content.Mode = ssDetailBox;
    content.Automatic = bCloseApplication;
    content.FocusedButton = bCloseApplication;
    content.DelaySeconds = 1;
    bool detailsOpen = false;
    bool fillStill = true;
    WhenShown([&] {
        ShownBox<SmallFailureBox>()->DetailsButton()->click();
        QTimer::singleShot(1500, qApp, [&] {
            FullFailureBox* full = ShownBox<FullFailureBox>();
            detailsOpen = full->Details() != nullptr;
            fillStill = full->Button(bCloseApplication)->Fill() == 0;
            full->Button(bRestartApplication)->click();
        });
    });
    EXPECT_EQ(RunFailureBox(content, ReportOnly()), eaRestartApplication);
    EXPECT_TRUE(detailsOpen);
    EXPECT_TRUE(fillStill);
}

}  // namespace
}  // namespace kestrix
