// \brief The failure box's rules.
#include "crash/ui/failure_box_rules.h"

#include <algorithm>

namespace kestrix {
namespace {

constexpr std::array OutcomeButtons = {bContinueApplication, bRestartApplication,
                                       bCloseApplication};

bool Pressable(TKXButton button, const VisibleButtons& visible, bool canContinue) {
    return visible[button] &&
           (button != bContinueApplication || !ContinueDisabled(visible, canContinue));
}

}  // namespace

TExceptAction ActionOf(TKXButton button) {
    return static_cast<TExceptAction>(static_cast<int>(eaSendBugReport) + static_cast<int>(button));
}

std::string BreakExceptionMessage(const std::string& message) {
    std::string broken;
    for (std::size_t index = 0; index < message.size(); ++index) {
        broken += message[index];
        const bool pointBlank = index > 0 && message[index - 1] == '.' && message[index] == ' ';
        const std::size_t point = index - 1;
        if (pointBlank && point > 19 && message.size() - point > 10) {
            broken += '\n';
        }
    }
    return broken;
}

ButtonArrangement ArrangeButtons(const VisibleButtons& visible) {
    const auto outcomes = std::count_if(OutcomeButtons.begin(), OutcomeButtons.end(),
                                        [&](TKXButton button) { return visible[button]; });
    const bool anyReportButton = std::any_of(
        visible.begin(), visible.begin() + bContinueApplication, [](bool shown) { return shown; });
    ButtonArrangement arrangement;
    for (std::size_t index = 0; index < ButtonCount; ++index) {
        if (!visible[index]) {
            continue;
        }
        const auto button = static_cast<TKXButton>(index);
        const bool inColumn = outcomes > 1 && anyReportButton && button >= bContinueApplication;
        (inColumn ? arrangement.Column : arrangement.Row).push_back(button);
    }
    return arrangement;
}

bool ContinueDisabled(const VisibleButtons& visible, bool canContinue) {
    return !canContinue && (visible[bRestartApplication] || visible[bCloseApplication]);
}

std::optional<TKXButton> AutomaticButton(const AutomaticRule& rule,
                                         const VisibleButtons& visible,
                                         bool canContinue) {
    if (rule.Close && visible[bCloseApplication]) {
        return bCloseApplication;
    }
    if (rule.Restart && visible[bRestartApplication]) {
        return bRestartApplication;
    }
    if (rule.Continue && visible[bContinueApplication] && canContinue) {
        return bContinueApplication;
    }
    return std::nullopt;
}

TExceptAction CloseRequestAction(int focused,
                                 const VisibleButtons& visible,
                                 bool canContinue,
                                 bool smallBox) {
    if (focused >= bContinueApplication && focused <= bCloseApplication) {
        const auto button = static_cast<TKXButton>(focused);
        if (Pressable(button, visible, canContinue) &&
            (button != bContinueApplication || canContinue)) {
            return ActionOf(button);
        }
    }
    if (visible[bContinueApplication] && canContinue) {
        return eaContinueApplication;
    }
    if (visible[bCloseApplication]) {
        return eaCloseApplication;
    }
    if (visible[bRestartApplication]) {
        return eaRestartApplication;
    }
    // Nothing else applies: a small box closes the program; a full box without any outcome button
    // goes on with failure handling, whose outcome rules decide.
    return smallBox || !canContinue ? eaCloseApplication : eaContinueApplication;
}

}  // namespace kestrix
