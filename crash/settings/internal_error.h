// \brief The reporter's own error messages ("Internal error: ..."), shown in a message box titled
// "Kestrix". This library knows no widgets: the reporter's user interface installs the box, and
// until it does the message goes to standard error.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace kestrix {

inline constexpr std::string_view InternalErrorTitle = "Kestrix";

using InternalErrorPresenter = std::function<void(std::string_view title, std::string_view text)>;

// Installs the presenter and returns the one it replaces; an empty one restores standard error.
InternalErrorPresenter SetInternalErrorPresenter(InternalErrorPresenter presenter);

void ShowInternalError(std::string_view text);

// The message on standard error, where it goes without a presenter or when a box cannot be shown.
void WriteInternalError(std::string_view title, std::string_view text);

}  // namespace kestrix
