// \brief The SMTP route: to a configured server (with AUTH LOGIN when an account or password is
// set) or, in direct mode, to each recipient's mail exchanger on port 25 without login.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "crash/delivery/routes/mail_parameters.h"
#include "crash/delivery/routes/route_result.h"
#include "crash/delivery/routes/send_progress.h"

namespace kestrix {

struct SmtpServer {
    std::string Host;
    std::uint16_t Port = 25;
    std::string Account;
    std::string Password;
    // For each reply.
    std::chrono::milliseconds Wait{7000};
};

// The mail to all recipients at once through the server.
RouteResult SendSmtpMail(const MailParameters& parameters,
                         const SmtpServer& server,
                         ISendProgress& progress);

// Each recipient mailed on its own through the first of its mail exchangers that takes it.
RouteResult SendDirectMail(const MailParameters& parameters,
                           ISendProgress& progress,
                           std::chrono::milliseconds wait = std::chrono::milliseconds(7000));

}  // namespace kestrix
