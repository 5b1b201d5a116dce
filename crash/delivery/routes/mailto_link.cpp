// \brief Building and opening the mailto link.
#include "crash/delivery/routes/mailto_link.h"

#include <cctype>
#include <cstdio>

#include "crash/delivery/routes/program_start.h"

namespace kestrix {
namespace {

bool IsUnreserved(unsigned char c) {
    return std::isalnum(c) != 0 || c == '-' || c == '.' || c == '_' || c == '~';
}

// The length of the UTF-8 sequence that starts with the byte (1 for anything else).
std::size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead < 0xF8) {
        return 4;
    }
    if (lead >= 0xE0) {
        return lead < 0xF0 ? 3 : 1;
    }
    return lead >= 0xC0 ? 2 : 1;
}

}  // namespace

std::string PercentEncoded(std::string_view text, std::string_view keep) {
    std::string encoded;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsUnreserved(byte) || keep.find(c) != std::string_view::npos) {
            encoded.push_back(c);
        } else {
            char escape[4];
            std::snprintf(escape, sizeof escape, "%%%02X", byte);
            encoded += escape;
        }
    }
    return encoded;
}

std::string MailtoLink(const MailParameters& parameters, std::size_t limit) {
    std::string recipients;
    for (const MailAddress& recipient :
         ParseRecipients(parameters.Recipients).value_or(std::vector<MailAddress>{})) {
        recipients.append(recipients.empty() ? "" : ",")
            .append(PercentEncoded(recipient.Address, "@"));
    }
    std::string link =
        "mailto:" + recipients + "?subject=" + PercentEncoded(parameters.Subject) + "&body=";
    const std::string_view body = parameters.Body;
    for (std::size_t i = 0; i < body.size();) {
        const std::size_t length =
            std::min(SequenceLength(static_cast<unsigned char>(body[i])), body.size() - i);
        const std::string piece = PercentEncoded(body.substr(i, length));
        if (link.size() + piece.size() > limit) {
            break;
        }
        link += piece;
        i += length;
    }
    return link.size() > limit ? link.substr(0, limit) : link;
}

RouteResult SendShellMail(const MailParameters& parameters) {
    if (!ParseRecipients(parameters.Recipients)) {
        return {false, "invalid recipient list \"" + parameters.Recipients + "\""};
    }
    const int exitCode = RunProgram({"xdg-open", MailtoLink(parameters)});
    if (exitCode == 0) {
        return {true, ""};
    }
    return {false, exitCode < 0 ? "cannot start xdg-open"
                                : "xdg-open ended with exit code " + std::to_string(exitCode)};
}

bool OpenInBrowser(const std::string& address) {
    return RunProgram({"xdg-open", address}) == 0;
}

}  // namespace kestrix
