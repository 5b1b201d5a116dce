// The texts of gatool's failure box for a number typed wrongly, shared by the box tests and the
// screenshot gallery.
#pragma once

#include "crash/ui/failure_box_content.h"

namespace kestrix {

inline FailureBoxContent SampleBoxContent(TKXShowSetting mode = ssFullBox) {
    FailureBoxContent content;
    content.Mode = mode;
    content.Title = "gatool";
    content.Text = "An error occurred in the application.";
    content.SmallTitle = "gatool";
    content.SmallText = "'1x' is not a valid floating point value";
    content.Visible = {true, true, false, true, true, true, true};
    content.Captions = {"send bug report",  "save bug report",      "print bug report",
                        "show bug report",  "continue application", "restart application",
                        "close application"};
    content.OkText = "&OK";
    content.DetailsText = "&Details";
    content.FocusedButton = bSaveBugReport;
    return content;
}

}  // namespace kestrix
