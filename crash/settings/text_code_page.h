// \brief Conversions between the form stream's text encodings and UTF-8: Windows-1252 for the
// 8-bit string types, UTF-16 (little-endian) for the wide one.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrix {

// Every byte has a character: the five positions Windows-1252 leaves unassigned become the
// control characters of the same number, as the system's own conversion does.
std::string Windows1252ToUtf8(std::string_view text);

// Empty when the text holds a character that Windows-1252 cannot express. Malformed UTF-8 counts
// as such a character.
std::optional<std::string> Utf8ToWindows1252(std::string_view text);

// A lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(const std::vector<char16_t>& text);

// Malformed UTF-8 bytes become U+FFFD.
std::vector<char16_t> Utf8ToUtf16(std::string_view text);

}  // namespace kestrix
