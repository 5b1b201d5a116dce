// \brief Numbers as text in the C library's notation (decimal point ".", no digit grouping), the
// way GA files hold them whatever the process locale.
#pragma once

#include <array>
#include <charconv>
#include <string>

namespace gatool {

// The shortest text that reads back to the same value; std::to_chars ignores the locale.
template <typename Number>
std::string CNotation(Number value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return {buffer.data(), result.ptr};
}

}  // namespace gatool
