// The box's content through the helper process's arguments, and the report file name that lets
// the save button leave the box.
#include "crash/ui/failure_box_content.h"

#include <gtest/gtest.h>

#include "crash/ui/failure_box_services.h"

namespace kestrix {
namespace {

TEST(FailureBoxContent, TravelsThroughTheHelpersArgumentsUnchanged) {
    FailureBoxContent content;
    content.Mode = ssSimpleBox;
    content.Title = "gatool";
    content.Text = "An error occurred.\nSecond line";
    content.SmallTitle = "gatool";
    content.SmallText = "";
    content.CanContinue = false;
    content.Visible = {false, false, false, false, true, false, true};
    content.Captions = {"a", "b", "c", "d", "continue application", "f", "close application"};
    content.OkText = "&OK";
    content.DetailsText = "&Details";
    content.FocusedButton = bCloseApplication;
    content.PictureButtons = false;
    content.Automatic = bCloseApplication;
    content.DelaySeconds = 7;
    content.DetailsOpen = true;
    const std::optional<FailureBoxContent> back = BoxContentFromArguments(BoxArguments(content));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->Mode, content.Mode);
    EXPECT_EQ(back->Text, content.Text);
    EXPECT_EQ(back->SmallText, "");
    EXPECT_EQ(back->CanContinue, false);
    EXPECT_EQ(back->Visible, content.Visible);
    EXPECT_EQ(back->Captions, content.Captions);
    EXPECT_EQ(back->FocusedButton, bCloseApplication);
    EXPECT_EQ(back->PictureButtons, false);
    EXPECT_EQ(back->Automatic, bCloseApplication);
    EXPECT_EQ(back->DelaySeconds, 7);
    EXPECT_EQ(back->DetailsOpen, true);
}

TEST(FailureBoxContent, RefusesArgumentsThatAreNotAHelpersOwn) {
    std::vector<std::string> arguments = BoxArguments(FailureBoxContent{});
    EXPECT_TRUE(BoxContentFromArguments(arguments).has_value());
    arguments.pop_back();
    EXPECT_FALSE(BoxContentFromArguments(arguments).has_value());
    arguments = BoxArguments(FailureBoxContent{});
    arguments[0] = "not a number";
    EXPECT_FALSE(BoxContentFromArguments(arguments).has_value());
    arguments[0] = std::to_string(ssNothing);
    EXPECT_FALSE(BoxContentFromArguments(arguments).has_value());
}

TEST(FailureBoxServices, TakesAReportFileNameForAbsoluteOnlyWithARootOrADrive) {
    for (const char* absolute :
         {"/var/log/bugreport.txt", "\\reports\\bugreport.txt", "C:\\reports\\bugreport.txt"}) {
        SCOPED_TRACE(absolute);
        EXPECT_TRUE(ReportFileIsAbsolute(absolute));
    }
    for (const char* relative : {"bugreport.txt", "%appname%.txt", "reports/bugreport.txt", ""}) {
        SCOPED_TRACE(relative);
        EXPECT_FALSE(ReportFileIsAbsolute(relative));
    }
}

}  // namespace
}  // namespace kestrix
