// \brief The texts a report's fields hold until the completion fills them.
#pragma once

#include <string>
#include <string_view>

namespace kestrix {

inline constexpr std::string_view WillBeCalculatedSoon = "will be calculated soon";
// A section's content until it is computed.
inline constexpr std::string_view SectionPlaceholder = ">> will be calculated soon";

// A thread section's content until its call stack is computed: its location line, then the
// placeholder of the stack.
inline std::string ThreadSectionPlaceholder(std::string_view locationLine) {
    return std::string(locationLine) + "\r\n>> stack " + std::string(WillBeCalculatedSoon);
}

}  // namespace kestrix
