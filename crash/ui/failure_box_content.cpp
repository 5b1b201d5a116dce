// \brief The box's content from the failure, and its argument form.
#include "crash/ui/failure_box_content.h"

#include "crash/threads/automatic_outcome.h"

namespace kestrix {
namespace {

std::optional<TExceptAction> AutomaticChoice(const IKXException& exception) {
    if (AutomaticOutcomeApplies(exception.AutoClose())) {
        return eaCloseApplication;
    }
    if (AutomaticOutcomeApplies(exception.AutoRestart())) {
        return eaRestartApplication;
    }
    if (exception.AutoContinue() && exception.CanContinue()) {
        return eaContinueApplication;
    }
    return std::nullopt;
}

std::string FailureText(const IKXException& exception) {
    const std::string message = exception.ExceptMessage();
    if (exception.ExceptClass().empty()) {
        return message;
    }
    return message.empty() ? exception.ExceptClass() : exception.ExceptClass() + ": " + message;
}

std::optional<TExceptAction> ActionOfNumber(const std::string& text) {
    const int number = std::stoi(text);
    if (number == eaContinueApplication || number == eaRestartApplication ||
        number == eaCloseApplication) {
        return static_cast<TExceptAction>(number);
    }
    return std::nullopt;
}

}  // namespace

FailureBoxContent BoxContentOf(const IKXException& exception) {
    return {
        .Title = exception.TitleBar(),
        .Text = exception.ExceptType() == etFrozen ? exception.FrozenMsg() : exception.ExceptMsg(),
        .Failure = FailureText(exception),
        .ReportFile = exception.SavedReportFile(),
        .CanContinue = exception.CanContinue(),
        .ContinueText = exception.ContinueBtnTxt(),
        .RestartText = exception.RestartBtnTxt(),
        .CloseText = exception.CloseBtnTxt(),
        .Automatic = AutomaticChoice(exception),
        .DelaySeconds = exception.AutoDelay()};
}

std::vector<std::string> BoxArguments(const FailureBoxContent& content) {
    return {content.Title,
            content.Text,
            content.Failure,
            content.ReportFile,
            content.CanContinue ? "1" : "0",
            content.ContinueText,
            content.RestartText,
            content.CloseText,
            content.Automatic ? std::to_string(*content.Automatic) : "-1",
            std::to_string(content.DelaySeconds)};
}

std::optional<FailureBoxContent> BoxContentFromArguments(
    const std::vector<std::string>& arguments) {
    if (arguments.size() != 10) {
        return std::nullopt;
    }
    try {
        return FailureBoxContent{.Title = arguments[0],
                                 .Text = arguments[1],
                                 .Failure = arguments[2],
                                 .ReportFile = arguments[3],
                                 .CanContinue = arguments[4] == "1",
                                 .ContinueText = arguments[5],
                                 .RestartText = arguments[6],
                                 .CloseText = arguments[7],
                                 .Automatic = ActionOfNumber(arguments[8]),
                                 .DelaySeconds = std::stoi(arguments[9])};
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace kestrix
