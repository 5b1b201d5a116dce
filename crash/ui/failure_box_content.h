// \brief What the stand-in failure box shows and how it answers by itself: the texts, whether the
// failure can continue, and the automatic choice with its delay.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "crash/core/exception_enums.h"
#include "crash/core/ikx_exception.h"

namespace kestrix {

struct FailureBoxContent {
    std::string Title;
    std::string Text;         // `ExceptMsg`, or `FrozenMsg` for a frozen program
    std::string Failure;      // the class and message of the failure
    std::string ReportFile;   // where its report was saved; "" when it was not
    bool CanContinue = true;  // the continue button is offered
    std::string ContinueText;
    std::string RestartText;
    std::string CloseText;
    // Pressed after DelaySeconds (0: never): close when `AutoClose` says so, else restart when
    // `AutoRestart` does, else continue when `AutoContinue` is set and the failure can continue.
    std::optional<TExceptAction> Automatic;
    int DelaySeconds = 0;
};

FailureBoxContent BoxContentOf(const IKXException& exception);

// The content as the arguments of the helper process, and back; none for arguments that are not
// a helper's.
std::vector<std::string> BoxArguments(const FailureBoxContent& content);
std::optional<FailureBoxContent> BoxContentFromArguments(const std::vector<std::string>& arguments);

}  // namespace kestrix
