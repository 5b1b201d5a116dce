// \brief The mailto route: a "mailto:" link with the recipients, the subject and the whole report
// as body, percent-encoded and cut to 32766 characters, opened with xdg-open. It carries no
// attachments.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "crash/delivery/routes/mail_parameters.h"
#include "crash/delivery/routes/route_result.h"

namespace kestrix {

inline constexpr std::size_t MailtoLengthLimit = 32766;

// Every byte but the unreserved characters (and those in keep) as "%" and two hexadecimal digits.
std::string PercentEncoded(std::string_view text, std::string_view keep = "");

// "mailto:" recipients "?subject=" subject "&body=" body, cut within the limit before an escape
// or a character's UTF-8 sequence that would not fit whole.
std::string MailtoLink(const MailParameters& parameters, std::size_t limit = MailtoLengthLimit);

RouteResult SendShellMail(const MailParameters& parameters);

// Opens a web address in the user's browser (a redirect of the upload).
bool OpenInBrowser(const std::string& address);

}  // namespace kestrix
