// \brief What a failure box shows and how it answers by itself: the full box's title, message and
// buttons, the small boxes' title, message and buttons, whether the failure can continue, the
// focused and the automatic button with its delay. Plain values, so that a helper process can get
// them as arguments.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "crash/core/exception_enums.h"
#include "crash/core/ikx_exception.h"
#include "crash/ui/failure_box_rules.h"

namespace kestrix {

struct FailureBoxContent {
    TKXShowSetting Mode = ssFullBox;  // ssFullBox, ssDetailBox or ssSimpleBox
    std::string Title;                // `TitleBar`
    std::string Text;                 // `ExceptMsg` or `FrozenMsg` with the exception message
    std::string SmallTitle;           // the executable's name without extension
    std::string SmallText;            // the exception message, or `FrozenMsg`
    bool CanContinue = true;
    VisibleButtons Visible{};
    std::array<std::string, ButtonCount> Captions;
    std::string OkText;
    std::string DetailsText;
    int FocusedButton = bSaveBugReport;  // `FocusedBtn`
    bool PictureButtons = true;          // `UglyBtns`
    std::optional<TKXButton> Automatic;  // pressed after DelaySeconds (0: never)
    int DelaySeconds = 0;
    bool DetailsOpen = false;  // `AutoShowBugRep`
};

FailureBoxContent BoxContentOf(const IKXException& exception);

// The content as the arguments of the helper process, and back; none for arguments that are not
// a helper's.
std::vector<std::string> BoxArguments(const FailureBoxContent& content);
std::optional<FailureBoxContent> BoxContentFromArguments(const std::vector<std::string>& arguments);

}  // namespace kestrix
