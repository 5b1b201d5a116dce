// \brief The multipart POST and its answer.
#include "crash/delivery/routes/http_upload.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <stdexcept>

#include "crash/delivery/attachments/file_bytes.h"
#include "crash/delivery/routes/mail_parameters.h"
#include "crash/delivery/routes/mime_message.h"
#include "crash/delivery/routes/tcp_connection.h"
#include "crash/settings/base64.h"

namespace kestrix {
namespace {

constexpr std::string_view CrLf = "\r\n";

struct ServerAddress {
    std::string Host;
    std::uint16_t Port = 80;
    std::string Path;
};

bool HasLineBreakOrQuote(std::string_view text) {
    return text.find_first_of("\r\n\"") != std::string_view::npos;
}

std::optional<std::uint16_t> ParsePort(std::string_view text) {
    if (text.empty() || text.size() > 5 ||
        text.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    const int port = std::stoi(std::string(text));
    return port > 0 && port < 65536 ? std::optional(static_cast<std::uint16_t>(port))
                                    : std::nullopt;
}

std::pair<std::string, std::optional<std::uint16_t>> SplitHostPort(std::string_view text) {
    const std::size_t colon = text.rfind(':');
    if (colon != std::string_view::npos) {
        if (const auto port = ParsePort(text.substr(colon + 1))) {
            return {std::string(text.substr(0, colon)), port};
        }
    }
    return {std::string(text), std::nullopt};
}

std::optional<ServerAddress> ParseUrl(std::string_view url, std::uint16_t port) {
    if (const std::size_t scheme = url.find("://"); scheme != std::string_view::npos) {
        url.remove_prefix(scheme + 3);
    }
    const std::size_t slash = url.find('/');
    auto [host, explicitPort] = SplitHostPort(url.substr(0, slash));
    if (host.empty() || url.find_first_of("\r\n \t") != std::string_view::npos) {
        return std::nullopt;
    }
    return ServerAddress{host, explicitPort.value_or(port),
                         slash == std::string_view::npos ? "/" : std::string(url.substr(slash))};
}

std::string FormBody(const HttpUploadContent& content) {
    const std::string delimiter = std::string("--").append(MultipartBoundary).append(CrLf);
    std::vector<std::string> parts;
    for (const auto& [name, value] : content.Fields) {
        parts.push_back(delimiter + "Content-Disposition: form-data; name=\"" + name +
                        "\"\r\n\r\n" + value);
    }
    for (const Attachment& attachment : content.Attachments) {
        parts.push_back(delimiter + "Content-Disposition: form-data; name=\"" +
                        attachment.FieldName + "\"; filename=\"" + attachment.SendAsName +
                        "\"\r\nContent-Type: application/octet-stream\r\n\r\n" +
                        ReadFileBytes(attachment.File));
    }
    std::string body;
    for (const std::string& part : parts) {
        body.append(part).append(CrLf);
    }
    return body.append("--").append(MultipartBoundary).append("--").append(CrLf);
}

std::string FieldError(const HttpUploadContent& content) {
    for (const auto& [name, value] : content.Fields) {
        if (name.empty() || HasLineBreakOrQuote(name)) {
            return "invalid form field name \"" + name + "\"";
        }
    }
    for (const Attachment& attachment : content.Attachments) {
        if (HasLineBreakOrQuote(attachment.FieldName) ||
            HasLineBreakOrQuote(attachment.SendAsName)) {
            return "invalid attachment name \"" + attachment.SendAsName + "\"";
        }
    }
    if (!content.Sender.empty() && !ParseMailAddress(content.Sender)) {
        return "invalid sender \"" + content.Sender + "\"";
    }
    return "";
}

struct HttpAnswer {
    int Status = 0;
    std::string Headers;
};

// Reads answers until one that is not "100"; none when the wait ends first.
std::optional<HttpAnswer> ReadFinalAnswer(TcpConnection& connection) {
    std::string received;
    for (;;) {
        const std::size_t end = received.find("\r\n\r\n");
        if (end != std::string::npos) {
            const std::string head = received.substr(0, end + 2);
            received.erase(0, end + 4);
            const std::size_t blank = head.find(' ');
            if (!head.starts_with("HTTP/") || blank == std::string::npos) {
                return std::nullopt;
            }
            const int status = std::atoi(head.c_str() + blank + 1);
            if (status != 100) {
                return HttpAnswer{status, head};
            }
            continue;
        }
        auto piece = connection.Receive();
        if (!piece) {
            return std::nullopt;
        }
        received += *piece;
    }
}

std::optional<std::string> HeaderValue(const std::string& head, std::string_view name) {
    std::size_t start = head.find(CrLf);
    while (start != std::string::npos && start + 2 < head.size()) {
        start += 2;
        const std::size_t end = head.find(CrLf, start);
        const std::string line = head.substr(start, end - start);
        const std::size_t colon = line.find(':');
        if (colon == name.size() &&
            std::equal(name.begin(), name.end(), line.begin(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) ==
                       std::tolower(static_cast<unsigned char>(b));
            })) {
            const std::size_t value = line.find_first_not_of(' ', colon + 1);
            return value == std::string::npos ? "" : line.substr(value);
        }
        start = end;
    }
    return std::nullopt;
}

bool HostMatches(const std::string& host, std::string_view pattern) {
    while (!pattern.empty() && (pattern.front() == '.' || pattern.front() == '*')) {
        pattern.remove_prefix(1);
    }
    return !pattern.empty() &&
           (host == pattern || (host.size() > pattern.size() && host.ends_with(pattern) &&
                                host[host.size() - pattern.size() - 1] == '.'));
}

const char* Environment(const char* lower, const char* upper) {
    const char* value = std::getenv(lower);
    return value != nullptr && *value != '\0' ? value : std::getenv(upper);
}

}  // namespace

std::optional<std::pair<std::string, std::uint16_t>> ProxyFor(const std::string& host) {
    const char* proxy = Environment("http_proxy", "HTTP_PROXY");
    if (proxy == nullptr || *proxy == '\0') {
        return std::nullopt;
    }
    if (const char* exceptions = Environment("no_proxy", "NO_PROXY")) {
        std::string_view list(exceptions);
        while (!list.empty()) {
            const std::size_t comma = list.find(',');
            std::string_view entry = list.substr(0, comma);
            while (!entry.empty() && entry.front() == ' ') {
                entry.remove_prefix(1);
            }
            if (entry == "*" || HostMatches(host, entry)) {
                return std::nullopt;
            }
            list = comma == std::string_view::npos ? "" : list.substr(comma + 1);
        }
    }
    const auto address = ParseUrl(proxy, 80);
    if (!address) {
        return std::nullopt;
    }
    return std::pair(address->Host, address->Port);
}

HttpUploadResult HttpUpload(const HttpTarget& target,
                            const HttpUploadContent& content,
                            ISendProgress& progress) {
    HttpUploadResult result;
    const auto server = ParseUrl(target.Url, target.Port);
    if (!server) {
        result.Error = "invalid upload address \"" + target.Url + "\"";
        return result;
    }
    if (result.Error = FieldError(content); !result.Error.empty()) {
        return result;
    }
    try {
        const std::string hostAndPort = server->Host + ":" + std::to_string(server->Port);
        const auto proxy = ProxyFor(server->Host);
        progress.Stage(ssConnect);
        TcpConnection connection(proxy ? proxy->first : server->Host,
                                 proxy ? proxy->second : server->Port, target.Wait);
        progress.Stage(ssSetFields);
        const std::string body = FormBody(content);
        std::string request = "POST " + (proxy ? "http://" + hostAndPort : "") + server->Path +
                              " HTTP/1.1\r\nHost: " + hostAndPort +
                              "\r\nConnection: close\r\nPragma: no-cache\r\n"
                              "User-Agent: Kestrix/3.0\r\n"
                              "Content-Type: multipart/form-data; boundary=" +
                              std::string(MultipartBoundary) +
                              "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n";
        if (const auto sender = ParseMailAddress(content.Sender)) {
            request += "From: " + sender->Address + "\r\n";
        }
        if (!target.Account.empty() || !target.Password.empty()) {
            request += "Authorization: Basic " +
                       EncodeBase64(target.Account + ":" + target.Password) + "\r\n";
        }
        request += "\r\n";
        if (!content.Attachments.empty()) {
            progress.Stage(ssSendAttachments);
        }
        if (!connection.Send(request) || !connection.Send(body)) {
            result.Error = "the server stopped taking the upload";
            return result;
        }
        progress.Stage(ssFinalize);
        const auto answer = ReadFinalAnswer(connection);
        if (!answer) {
            result.Error = "no answer to the upload";
            return result;
        }
        result.Sent = answer->Status == 200 || answer->Status == 302;
        if (answer->Status == 302) {
            result.Redirect = HeaderValue(answer->Headers, "Location");
        }
        if (!result.Sent) {
            result.Error =
                "the upload was answered: " + answer->Headers.substr(0, answer->Headers.find(CrLf));
        }
    } catch (const std::runtime_error& error) {
        result.Error = error.what();
    }
    return result;
}

}  // namespace kestrix
