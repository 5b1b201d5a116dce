// \brief Sending a failure's report: the subject, body and sender from the settings, the
// attachments, then the routes in order (direct mail, the SMTP client, the HTTP upload; then the
// mail composer and, unless silent, the mailto link), the failure message when all failed, the
// sent mark and the deletion of the saved report file that travelled along.
#pragma once

#include <memory>
#include <optional>

#include "crash/core/ikx_exception.h"
#include "crash/delivery/attachments/rgb_image.h"
#include "crash/delivery/delivery_windows.h"
#include "crash/delivery/routes/mail_parameters.h"

namespace kestrix {

// The text with "%exceptMsg%" (the report's "exception message", "Unknown" without one) and
// "%bugReport%" (the whole report) replaced, in any letter case.
std::string WithReportVariables(std::string_view text, const std::string& report);

// Recipients, sender, subject and body of the failure's settings; no attachments.
MailParameters MailParametersOf(const IKXSettings& settings, const std::string& report);

struct SendOptions {
    // A silent send shows no message and skips the routes that need the user.
    bool Silent = false;
    bool ShowProgress = true;
    // The windows for the progress and the failure message; none for a send without any.
    IDeliveryWindows* Windows = nullptr;
};

// Runs the whole send in the calling thread; whether some route took the report.
bool RunSend(const std::shared_ptr<IKXException>& failure,
             const std::optional<RgbImage>& screenshot,
             const SendOptions& options);

// The operator's send: on a background thread with `SendInBackgr` (then true at once), else here.
// A background send keeps the windows alive and calls them from its thread.
bool SendBugReport(const std::shared_ptr<IKXException>& failure,
                   const std::optional<RgbImage>& screenshot,
                   const std::shared_ptr<IDeliveryWindows>& windows);

// The automatic send: silent, always in the background; the progress window only with
// `AutoSendBox` and windows to show it in (none: no window).
bool AutoSendBugReport(const std::shared_ptr<IKXException>& failure,
                       const std::optional<RgbImage>& screenshot,
                       const std::shared_ptr<IDeliveryWindows>& windows);

}  // namespace kestrix
