// \brief The mail of one send: recipients ("," between, each a bare address or a name and an
// address in angle brackets), sender, subject, body and attachments, and the checks that keep a
// header field from carrying another header or command.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "crash/delivery/attachments/attachment_list.h"

namespace kestrix {

struct MailAddress {
    std::string Name;
    std::string Address;

    friend bool operator==(const MailAddress&, const MailAddress&) = default;
};

struct MailParameters {
    std::string Recipients;
    std::string Sender;
    std::string Subject;
    std::string Body;
    IKXAttachments Attachments;
};

// "Name <address>" or "address"; none for text with a line break or control character, angle
// brackets out of place, or an address that is empty or holds a blank.
std::optional<MailAddress> ParseMailAddress(std::string_view text);

// The addresses of a "," separated list, empty entries dropped; none when one entry is invalid.
std::optional<std::vector<MailAddress>> ParseRecipients(std::string_view list);

// What a send cannot go out with (a recipient or sender that could inject a header or an SMTP
// command, an attachment name with a line break or quote); empty when the parameters are sound.
std::string MailParameterError(const MailParameters& parameters);

}  // namespace kestrix
