// \brief Building the mail text.
#include "crash/delivery/routes/mime_message.h"

#include <cctype>
#include <cstdio>
#include <ctime>
#include <stdexcept>

#include "crash/delivery/attachments/file_bytes.h"
#include "crash/settings/base64.h"

namespace kestrix {
namespace {

constexpr std::string_view CrLf = "\r\n";

bool IsQSafe(unsigned char c) {
    return std::isalnum(c) != 0 || c == '!' || c == '*' || c == '+' || c == '-' || c == '/';
}

bool IsUtf8Continuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

bool IsAscii(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

// A display name as a header carries it: quoted, or encoded when it is not ASCII (its first line
// after a field name such as "From: ").
std::string Mailbox(const MailAddress& address) {
    constexpr std::size_t FieldNameRoom = 6;
    if (address.Name.empty()) {
        return address.Address;
    }
    const std::string name = IsAscii(address.Name)
                                 ? "\"" + address.Name + "\""
                                 : QEncodedHeaderText(address.Name, FieldNameRoom);
    return name + " <" + address.Address + ">";
}

bool EndsWithPng(std::string_view name) {
    if (name.size() < 4) {
        return false;
    }
    std::string ending(name.substr(name.size() - 4));
    for (char& c : ending) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return ending == ".png";
}

std::string MessageId(std::chrono::system_clock::time_point time) {
    char text[32];
    std::snprintf(text, sizeof text, "%016llX",
                  static_cast<unsigned long long>(time.time_since_epoch().count()));
    return std::string("<") + text + "@Kestrix>";
}

}  // namespace

std::string QEncodedHeaderText(std::string_view text, std::size_t usedOnFirstLine) {
    constexpr std::string_view Start = "=?UTF-8?Q?";
    constexpr std::string_view End = "?=";
    constexpr std::size_t LineLimit = 76;
    // A folded line starts with one blank.
    std::size_t used = usedOnFirstLine;
    std::string result;
    std::string word;
    for (std::size_t i = 0; i < text.size();) {
        // One character at a time, so that a word never splits a UTF-8 sequence.
        std::size_t length = 1;
        while (i + length < text.size() &&
               IsUtf8Continuation(static_cast<unsigned char>(text[i + length]))) {
            ++length;
        }
        std::string encoded;
        for (const char c : text.substr(i, length)) {
            const auto byte = static_cast<unsigned char>(c);
            char hex[4];
            std::snprintf(hex, sizeof hex, "=%02X", byte);
            encoded += IsQSafe(byte) ? std::string(1, c) : std::string(hex);
        }
        if (!word.empty() &&
            used + Start.size() + word.size() + encoded.size() + End.size() > LineLimit) {
            result.append(result.empty() ? "" : "\r\n ").append(Start).append(word).append(End);
            word.clear();
            used = 1;
        }
        word += encoded;
        i += length;
    }
    result.append(result.empty() ? "" : "\r\n ").append(Start).append(word).append(End);
    return result;
}

std::string MailDateText(std::chrono::system_clock::time_point time) {
    static constexpr const char* Months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[40];
    std::snprintf(text, sizeof text, "%d %s %d %02d:%02d:%02d UT", utc.tm_mday, Months[utc.tm_mon],
                  utc.tm_year + 1900, utc.tm_hour, utc.tm_min, utc.tm_sec);
    return text;
}

std::string Base64Lines(std::string_view bytes) {
    std::string lines;
    for (std::size_t start = 0; start < bytes.size(); start += 57) {
        lines.append(EncodeBase64(bytes.substr(start, 57))).append(CrLf);
    }
    return lines;
}

std::string WithCrLf(std::string_view text) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            result.append(CrLf);
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            result.push_back(text[i]);
        }
    }
    return result;
}

std::string DotStuffed(std::string_view text) {
    std::string result;
    bool lineStart = true;
    for (const char c : text) {
        if (lineStart && c == '.') {
            result.push_back('.');
        }
        result.push_back(c);
        lineStart = c == '\n';
    }
    return result;
}

std::string BuildMailMessage(const MailParameters& parameters,
                             const std::vector<MailAddress>& recipients,
                             std::chrono::system_clock::time_point time) {
    std::string message;
    std::string to;
    for (const MailAddress& recipient : recipients) {
        to.append(to.empty() ? "" : ", ").append(Mailbox(recipient));
    }
    message.append("To: ").append(to).append(CrLf);
    if (const auto sender = ParseMailAddress(parameters.Sender)) {
        message.append("From: ").append(Mailbox(*sender)).append(CrLf);
    }
    constexpr std::string_view SubjectField = "Subject: ";
    message.append(SubjectField)
        .append(QEncodedHeaderText(parameters.Subject, SubjectField.size()))
        .append(CrLf);
    message.append("Date: ").append(MailDateText(time)).append(CrLf);
    message.append("Message-ID: ").append(MessageId(time)).append(CrLf);
    message.append("MIME-Version: 1.0").append(CrLf);
    std::string body = WithCrLf(parameters.Body);
    if (!body.ends_with(CrLf)) {
        body.append(CrLf);
    }
    constexpr std::string_view TextPart =
        "Content-Type: text/plain; charset=\"utf-8\"\r\nContent-Transfer-Encoding: 8bit\r\n";
    if (parameters.Attachments.empty()) {
        return message.append(TextPart).append(CrLf).append(body);
    }
    const std::string boundaryLine = std::string("--").append(MultipartBoundary).append(CrLf);
    message.append("Content-Type: multipart/mixed; boundary=\"")
        .append(MultipartBoundary)
        .append("\"\r\n\r\nThis is a multi-part message in MIME format.\r\n\r\n")
        .append(boundaryLine)
        .append(TextPart)
        .append(CrLf)
        .append(body);
    for (const Attachment& attachment : parameters.Attachments) {
        message.append(boundaryLine)
            .append("Content-Type: ")
            .append(EndsWithPng(attachment.SendAsName) ? "image/png" : "application/octet-stream")
            .append("; name=\"")
            .append(attachment.SendAsName)
            .append("\"\r\nContent-Transfer-Encoding: base64\r\n")
            .append("Content-Disposition: attachment; filename=\"")
            .append(attachment.SendAsName)
            .append("\"\r\n\r\n")
            .append(Base64Lines(ReadFileBytes(attachment.File)));
    }
    return message.append("--").append(MultipartBoundary).append("--").append(CrLf);
}

}  // namespace kestrix
