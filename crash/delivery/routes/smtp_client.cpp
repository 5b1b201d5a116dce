// \brief The SMTP dialogue.
#include "crash/delivery/routes/smtp_client.h"

#include <unistd.h>

#include <optional>
#include <stdexcept>

#include "crash/delivery/routes/mime_message.h"
#include "crash/delivery/routes/mx_lookup.h"
#include "crash/delivery/routes/tcp_connection.h"
#include "crash/settings/base64.h"

namespace kestrix {
namespace {

std::string ComputerName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') {
        return "localhost";
    }
    return name;
}

// Where the last line of a whole reply starts: the first line whose code is not followed by "-"
// (continuation lines are read on); none while that line has not arrived.
std::optional<std::size_t> FinalLineStart(const std::string& reply) {
    std::size_t start = 0;
    for (std::size_t end; (end = reply.find("\r\n", start)) != std::string::npos; start = end + 2) {
        if (end - start < 4 || reply[start + 3] != '-') {
            return start;
        }
    }
    return std::nullopt;
}

class SmtpDialogue {
  public:
    SmtpDialogue(const std::string& host, std::uint16_t port, std::chrono::milliseconds wait)
        : m_connection(host, port, wait) {}

    // Sends the command (none: only reads) and reads the reply; true when it starts with the
    // code.
    bool Expect(const std::optional<std::string>& command, std::string_view code) {
        if (command && !m_connection.Send(*command + "\r\n")) {
            m_error = "the server stopped taking data";
            return false;
        }
        m_reply.clear();
        std::optional<std::size_t> final;
        while (!(final = FinalLineStart(m_reply))) {
            auto piece = m_connection.Receive();
            if (!piece) {
                m_error = "no answer to " + (command ? CommandName(*command) : "the connection");
                return false;
            }
            m_reply += *piece;
        }
        const std::string line = m_reply.substr(*final, m_reply.find("\r\n", *final) - *final);
        if (!line.starts_with(code)) {
            m_error = (command ? CommandName(*command) : "the greeting") + " answered \"" + line +
                      "\", not " + std::string(code);
            return false;
        }
        return true;
    }

    bool SendData(std::string_view data) {
        if (!m_connection.Send(data)) {
            m_error = "the server stopped taking data";
            return false;
        }
        return true;
    }

    void Fail(std::string error) { m_error = std::move(error); }
    const std::string& Reply() const { return m_reply; }
    const std::string& Error() const { return m_error; }

  private:
    static std::string CommandName(const std::string& command) {
        return command.substr(0, command.find_first_of(" :"));
    }

    TcpConnection m_connection;
    std::string m_reply;
    std::string m_error;
};

// Whether an EHLO reply lists LOGIN on its AUTH line.
bool OffersLogin(const std::string& reply) {
    std::size_t start = 0;
    for (std::size_t end; (end = reply.find("\r\n", start)) != std::string::npos; start = end + 2) {
        const std::string line = reply.substr(start, end - start) + " ";
        if (line.size() > 4 && line.compare(4, 4, "AUTH") == 0 &&
            line.find(" LOGIN ") != std::string::npos) {
            return true;
        }
    }
    return false;
}

struct Envelope {
    std::string Sender;
    std::vector<MailAddress> Recipients;
};

// The dialogue after the connection is open; QUIT is sent by the caller.
bool RunDialogue(SmtpDialogue& smtp,
                 const MailParameters& parameters,
                 const Envelope& envelope,
                 const SmtpServer& server,
                 ISendProgress& progress) {
    if (!smtp.Expect(std::nullopt, "220")) {
        return false;
    }
    progress.Stage(ssAuthenticate);
    const std::string computer = ComputerName();
    const bool extended = smtp.Expect("EHLO " + computer, "250");
    if (!extended && !smtp.Expect("HELO " + computer, "250")) {
        return false;
    }
    if (!server.Account.empty() || !server.Password.empty()) {
        if (!extended || !OffersLogin(smtp.Reply())) {
            smtp.Fail("the server offers no AUTH LOGIN");
            return false;
        }
        if (!smtp.Expect("AUTH LOGIN", "334") ||
            !smtp.Expect(EncodeBase64(server.Account), "334") ||
            !smtp.Expect(EncodeBase64(server.Password), "235")) {
            return false;
        }
    }
    progress.Stage(ssSendMail);
    if (!smtp.Expect("MAIL FROM:<" + envelope.Sender + ">", "250")) {
        return false;
    }
    int accepted = 0;
    for (const MailAddress& recipient : envelope.Recipients) {
        accepted += smtp.Expect("RCPT TO:<" + recipient.Address + ">", "250");
    }
    if (accepted == 0) {
        return false;
    }
    if (parameters.Subject.empty() && parameters.Body.empty()) {
        return smtp.Expect("RSET", "250");
    }
    const std::string message =
        BuildMailMessage(parameters, envelope.Recipients, std::chrono::system_clock::now());
    if (!smtp.Expect("DATA", "354")) {
        return false;
    }
    if (!parameters.Attachments.empty()) {
        progress.Stage(ssSendAttachments);
    }
    if (!smtp.SendData(DotStuffed(message))) {
        return false;
    }
    progress.Stage(ssFinalize);
    return smtp.Expect(".", "250");
}

RouteResult SendThrough(const MailParameters& parameters,
                        const Envelope& envelope,
                        const SmtpServer& server,
                        ISendProgress& progress) {
    progress.Stage(ssConnect);
    try {
        SmtpDialogue smtp(server.Host, server.Port, server.Wait);
        const bool sent = RunDialogue(smtp, parameters, envelope, server, progress);
        const std::string error = smtp.Error();
        // A mail that was taken stays sent, whatever the goodbye gets.
        smtp.Expect("QUIT", "221");
        return {sent, sent ? "" : error};
    } catch (const std::runtime_error& error) {
        return {false, error.what()};
    }
}

// The envelope sender: the sender's address, else the first recipient's.
std::string EnvelopeSender(const MailParameters& parameters,
                           const std::vector<MailAddress>& recipients) {
    if (const auto sender = ParseMailAddress(parameters.Sender)) {
        return sender->Address;
    }
    return recipients.front().Address;
}

std::optional<std::vector<MailAddress>> CheckedRecipients(const MailParameters& parameters,
                                                          RouteResult& result) {
    result.Error = MailParameterError(parameters);
    if (!result.Error.empty()) {
        return std::nullopt;
    }
    auto recipients = ParseRecipients(parameters.Recipients);
    if (!recipients || recipients->empty()) {
        result.Error = "no recipient";
        return std::nullopt;
    }
    return recipients;
}

}  // namespace

RouteResult SendSmtpMail(const MailParameters& parameters,
                         const SmtpServer& server,
                         ISendProgress& progress) {
    RouteResult result;
    const auto recipients = CheckedRecipients(parameters, result);
    if (!recipients) {
        return result;
    }
    return SendThrough(parameters, {EnvelopeSender(parameters, *recipients), *recipients}, server,
                       progress);
}

RouteResult SendDirectMail(const MailParameters& parameters,
                           ISendProgress& progress,
                           std::chrono::milliseconds wait) {
    RouteResult result;
    const auto recipients = CheckedRecipients(parameters, result);
    if (!recipients) {
        return result;
    }
    const std::string sender = EnvelopeSender(parameters, *recipients);
    for (const MailAddress& recipient : *recipients) {
        progress.Stage(ssMxLookup);
        const std::vector<std::string> exchangers = MxLookup(recipient.Address);
        if (exchangers.empty()) {
            return {false, "no mail exchanger for \"" + recipient.Address + "\""};
        }
        result = {false, ""};
        for (const std::string& exchanger : exchangers) {
            result = SendThrough(parameters, {sender, {recipient}},
                                 SmtpServer{exchanger, 25, "", "", wait}, progress);
            if (result.Sent) {
                break;
            }
        }
        if (!result.Sent) {
            return result;
        }
    }
    return result;
}

}  // namespace kestrix
