// \brief The rules of the failure box that need no window: the message's line breaks, which
// buttons stand in a row and which in the column, when continue is disabled, the automatic button
// and what closing the window means.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "crash/core/exception_enums.h"

namespace kestrix {

enum TKXButton : std::uint8_t {
    bSendBugReport,
    bSaveBugReport,
    bPrintBugReport,
    bShowBugReport,
    bContinueApplication,
    bRestartApplication,
    bCloseApplication
};
inline constexpr std::size_t ButtonCount = 7;

using VisibleButtons = std::array<bool, ButtonCount>;

TExceptAction ActionOf(TKXButton button);

// A line break after every ". " that lies more than 19 characters from the message's start and
// more than 10 from its end.
std::string BreakExceptionMessage(const std::string& message);

struct ButtonArrangement {
    std::vector<TKXButton> Row;
    std::vector<TKXButton> Column;  // at the right of the row; empty when all stand in the row
};

// With more than one of continue, restart and close visible and any of the report buttons, the
// report buttons form the row and the outcome buttons the column.
ButtonArrangement ArrangeButtons(const VisibleButtons& visible);

bool ContinueDisabled(const VisibleButtons& visible, bool canContinue);

struct AutomaticRule {
    bool Close = false;     // `AutoClose` applies now
    bool Restart = false;   // `AutoRestart` applies now
    bool Continue = false;  // `AutoContinue`
};

// The first of close, restart and continue whose automatic setting applies and whose button can
// be pressed.
std::optional<TKXButton> AutomaticButton(const AutomaticRule& rule,
                                         const VisibleButtons& visible,
                                         bool canContinue);

// Closing the window (title bar, Alt+F4, Esc). `focused` is `FocusedBtn`; a focused outcome
// button that cannot be pressed (a disabled continue, a hidden button) gives way to the rest of
// the rule. A small box closes the program when nothing else applies.
TExceptAction CloseRequestAction(int focused,
                                 const VisibleButtons& visible,
                                 bool canContinue,
                                 bool smallBox);

}  // namespace kestrix
