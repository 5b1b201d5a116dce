// \brief Cleaning exception messages.
#include "crash/report/exception_message_text.h"

namespace kestrix {

std::string CleanExceptionMessage(std::string_view message) {
    std::string cleaned;
    for (const char c : message) {
        const auto code = static_cast<unsigned char>(c);
        if ((code >= ' ' && code != 0x7f) || c == '\r' || c == '\n')
            cleaned.push_back(c);
    }
    const std::size_t first = cleaned.find_first_not_of(" \r\n");
    if (first == std::string::npos)
        return "Unknown";
    const std::size_t last = cleaned.find_last_not_of(" \r\n");
    return cleaned.substr(first, last - first + 1);
}

std::optional<std::string> ExceptionMessageField(std::string_view message,
                                                 std::string_view className) {
    if (message == className)
        return std::nullopt;
    const std::size_t last = message.find_last_not_of(".!");
    const std::string_view kept =
        last == std::string_view::npos ? std::string_view() : message.substr(0, last + 1);
    return std::string(kept) + ".";
}

}  // namespace kestrix
