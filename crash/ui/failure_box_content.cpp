// \brief The box's content from the failure, and its argument form.
#include "crash/ui/failure_box_content.h"

#include <filesystem>

#include "crash/threads/automatic_outcome.h"

namespace kestrix {
namespace {

std::string ExecutableStem() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string("Kestrix") : executable.stem().string();
}

std::string ReplacedExceptMsg(std::string text, const std::string& exceptionMessage) {
    static constexpr std::string_view Variable = "%exceptmsg%";
    for (std::size_t at = 0; at + Variable.size() <= text.size();) {
        std::string candidate = text.substr(at, Variable.size());
        for (char& each : candidate) {
            each = static_cast<char>(std::tolower(static_cast<unsigned char>(each)));
        }
        if (candidate == Variable) {
            text.replace(at, Variable.size(), exceptionMessage);
            at += exceptionMessage.size();
        } else {
            ++at;
        }
    }
    return text;
}

// The settings keep the focused button's number unchecked; outside 0..6 it is the save button.
int FocusedButtonOf(const IKXException& exception, const std::optional<TKXButton>& automatic) {
    if (automatic) {
        return *automatic;
    }
    const int focused = exception.FocusedBtn();
    return focused >= 0 && focused < static_cast<int>(ButtonCount) ? focused : bSaveBugReport;
}

constexpr std::size_t FixedArguments = 13;
constexpr std::size_t ArgumentCount = FixedArguments + 2 * ButtonCount;

}  // namespace

FailureBoxContent BoxContentOf(const IKXException& exception) {
    const bool frozen = exception.ExceptType() == etFrozen;
    const std::string message = BreakExceptionMessage(exception.ExceptMessage());
    FailureBoxContent content{
        .Mode = exception.Decisions().ShowSetting,
        .Title = exception.TitleBar(),
        .Text = ReplacedExceptMsg(frozen ? exception.FrozenMsg() : exception.ExceptMsg(), message),
        .SmallTitle = ExecutableStem(),
        .SmallText = frozen ? exception.FrozenMsg() : exception.ExceptMessage(),
        .CanContinue = exception.CanContinue(),
        .Visible = {exception.SendBtnVis(), exception.SaveBtnVis(), exception.PrintBtnVis(),
                    exception.ShowBtnVis(), exception.ContinueBtnVis(), exception.RestartBtnVis(),
                    exception.CloseBtnVis()},
        .Captions = {exception.SendBtnTxt(), exception.SaveBtnTxt(), exception.PrintBtnTxt(),
                     exception.ShowBtnTxt(), exception.ContinueBtnTxt(), exception.RestartBtnTxt(),
                     exception.CloseBtnTxt()},
        .OkText = exception.OkBtnTxt(),
        .DetailsText = exception.DetailsBtnTxt(),
        .PictureButtons = exception.UglyBtns(),
        .Automatic = std::nullopt,
        .DelaySeconds = exception.AutoDelay(),
        .DetailsOpen = exception.AutoShowBugRep()};
    content.Automatic =
        AutomaticButton({.Close = AutomaticOutcomeApplies(exception.AutoClose()),
                         .Restart = AutomaticOutcomeApplies(exception.AutoRestart()),
                         .Continue = exception.AutoContinue()},
                        content.Visible, content.CanContinue);
    content.FocusedButton = FocusedButtonOf(exception, content.Automatic);
    return content;
}

std::vector<std::string> BoxArguments(const FailureBoxContent& content) {
    std::vector<std::string> arguments = {
        std::to_string(content.Mode),
        content.Title,
        content.Text,
        content.SmallTitle,
        content.SmallText,
        content.CanContinue ? "1" : "0",
        content.OkText,
        content.DetailsText,
        std::to_string(content.FocusedButton),
        content.PictureButtons ? "1" : "0",
        content.Automatic ? std::to_string(*content.Automatic) : "-1",
        std::to_string(content.DelaySeconds),
        content.DetailsOpen ? "1" : "0"};
    for (std::size_t button = 0; button < ButtonCount; ++button) {
        arguments.push_back(content.Visible[button] ? "1" : "0");
        arguments.push_back(content.Captions[button]);
    }
    return arguments;
}

std::optional<FailureBoxContent> BoxContentFromArguments(
    const std::vector<std::string>& arguments) {
    if (arguments.size() != ArgumentCount) {
        return std::nullopt;
    }
    try {
        const int mode = std::stoi(arguments[0]);
        const int automatic = std::stoi(arguments[10]);
        if (mode != ssFullBox && mode != ssDetailBox && mode != ssSimpleBox) {
            return std::nullopt;
        }
        FailureBoxContent content{.Mode = static_cast<TKXShowSetting>(mode),
                                  .Title = arguments[1],
                                  .Text = arguments[2],
                                  .SmallTitle = arguments[3],
                                  .SmallText = arguments[4],
                                  .CanContinue = arguments[5] == "1",
                                  .Captions = {},
                                  .OkText = arguments[6],
                                  .DetailsText = arguments[7],
                                  .FocusedButton = std::stoi(arguments[8]),
                                  .PictureButtons = arguments[9] == "1",
                                  .Automatic = std::nullopt,
                                  .DelaySeconds = std::stoi(arguments[11]),
                                  .DetailsOpen = arguments[12] == "1"};
        if (automatic >= bContinueApplication && automatic <= bCloseApplication) {
            content.Automatic = static_cast<TKXButton>(automatic);
        }
        for (std::size_t button = 0; button < ButtonCount; ++button) {
            content.Visible[button] = arguments[FixedArguments + 2 * button] == "1";
            content.Captions[button] = arguments[FixedArguments + 2 * button + 1];
        }
        return content;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace kestrix
