// \brief The user's mail composer through xdg-email: a compose window with recipients, subject,
// body and the attachments under their send-as names, for the user to send.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "crash/delivery/routes/mail_parameters.h"
#include "crash/delivery/routes/route_result.h"

namespace kestrix {

// The argument vector for xdg-email; the attachment files as given.
std::vector<std::string> MailComposerArguments(const MailParameters& parameters,
                                               const std::vector<std::filesystem::path>& files);

// Links or copies each attachment into the folder under its send-as name, so that the mail
// carries that name; the files that take part.
std::vector<std::filesystem::path> FilesUnderSendAsNames(const IKXAttachments& attachments,
                                                         const std::filesystem::path& folder);

// Sent when xdg-email ended without error (the mail program has the mail then); attachments are
// staged in a folder "send-as" under the temporary folder. The composer cannot tell a mail the
// user dropped from one sent.
RouteResult SendMapiMail(const MailParameters& parameters,
                         const std::filesystem::path& temporaryFolder);

}  // namespace kestrix
