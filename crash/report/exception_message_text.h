// \brief The clean-up of an exception's message for the report header.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestrix {

// Control characters other than carriage return and line feed removed, blanks and line breaks
// trimmed at both ends; "Unknown" when nothing is left.
std::string CleanExceptionMessage(std::string_view message);

// The "exception message" field of a cleaned message: none when it equals the class name,
// otherwise the message without its trailing "." and "!" characters and with one "." added.
std::optional<std::string> ExceptionMessageField(std::string_view message,
                                                 std::string_view className);

}  // namespace kestrix
