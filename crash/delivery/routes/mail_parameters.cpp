// \brief Addresses and the checks of mail parameters.
#include "crash/delivery/routes/mail_parameters.h"

#include <algorithm>

namespace kestrix {
namespace {

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

bool HasControlCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

bool IsPlainAddress(std::string_view address) {
    // A leading "-" could pass for an option of the mail composer.
    return !address.empty() && address.front() != '-' &&
           address.find_first_of(" <>\",") == std::string_view::npos;
}

}  // namespace

std::optional<MailAddress> ParseMailAddress(std::string_view text) {
    text = Trimmed(text);
    if (HasControlCharacter(text)) {
        return std::nullopt;
    }
    const std::size_t open = text.find('<');
    if (open == std::string_view::npos) {
        return IsPlainAddress(text) ? std::optional(MailAddress{"", std::string(text)})
                                    : std::nullopt;
    }
    if (text.back() != '>') {
        return std::nullopt;
    }
    const std::string_view address = text.substr(open + 1, text.size() - open - 2);
    std::string_view name = Trimmed(text.substr(0, open));
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"') {
        name = name.substr(1, name.size() - 2);
    }
    if (!IsPlainAddress(address) || name.find_first_of("<>\"") != std::string_view::npos) {
        return std::nullopt;
    }
    return MailAddress{std::string(name), std::string(address)};
}

std::optional<std::vector<MailAddress>> ParseRecipients(std::string_view list) {
    std::vector<MailAddress> addresses;
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const std::string_view entry = Trimmed(list.substr(0, comma));
        if (!entry.empty()) {
            auto address = ParseMailAddress(entry);
            if (!address) {
                return std::nullopt;
            }
            addresses.push_back(std::move(*address));
        }
        list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
    }
    return addresses;
}

std::string MailParameterError(const MailParameters& parameters) {
    if (!ParseRecipients(parameters.Recipients)) {
        return "invalid recipient list \"" + parameters.Recipients + "\"";
    }
    if (!parameters.Sender.empty() && !ParseMailAddress(parameters.Sender)) {
        return "invalid sender \"" + parameters.Sender + "\"";
    }
    for (const Attachment& attachment : parameters.Attachments) {
        if (HasControlCharacter(attachment.SendAsName) ||
            attachment.SendAsName.find('"') != std::string::npos ||
            HasControlCharacter(attachment.FieldName) ||
            attachment.FieldName.find('"') != std::string::npos) {
            return "invalid attachment name \"" + attachment.SendAsName + "\"";
        }
    }
    return "";
}

}  // namespace kestrix
