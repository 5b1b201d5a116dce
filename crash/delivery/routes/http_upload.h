// \brief The HTTP route: the report and its attachments posted as a multipart form to
// `HttpServer`, through the proxy of the environment ("http_proxy") when one is set, with Basic
// authentication when an account or password is given.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "crash/delivery/attachments/attachment_list.h"
#include "crash/delivery/routes/route_result.h"
#include "crash/delivery/routes/send_progress.h"

namespace kestrix {

struct HttpTarget {
    // A URL; its protocol prefix is removed, the part up to the first "/" is the host (a ":port"
    // in it replaces Port) and the rest the path.
    std::string Url;
    std::uint16_t Port = 80;
    std::string Account;
    std::string Password;
    // For the answer.
    std::chrono::milliseconds Wait{7000};
};

struct HttpUploadContent {
    std::string Sender;
    // Name and content of each form field.
    std::vector<std::pair<std::string, std::string>> Fields;
    IKXAttachments Attachments;
};

struct HttpUploadResult : RouteResult {
    // The address a "302" answer named, to be opened in the browser.
    std::optional<std::string> Redirect;
};

// The proxy of the environment for plain HTTP ("http_proxy", else "HTTP_PROXY"), unless
// "no_proxy" names the host; "host:port" parts of it.
std::optional<std::pair<std::string, std::uint16_t>> ProxyFor(const std::string& host);

HttpUploadResult HttpUpload(const HttpTarget& target,
                            const HttpUploadContent& content,
                            ISendProgress& progress);

}  // namespace kestrix
