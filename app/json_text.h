// \brief Pieces of JSON text: strings and numbers that read back to the same value.
#pragma once

#include <charconv>
#include <string>
#include <string_view>

namespace gatool {

// A JSON string literal. Control characters are escaped; bytes that are not valid UTF-8 become
// U+FFFD, so that text read from a file always makes valid JSON.
std::string JsonString(std::string_view text);

// The shortest decimal text that reads back to the same value of the number's own type.
template <typename Number>
std::string JsonNumber(Number value) {
    char buffer[64];
    const auto result = std::to_chars(std::begin(buffer), std::end(buffer), value);
    return std::string(buffer, result.ptr);
}

}  // namespace gatool
