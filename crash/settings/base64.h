// \brief Base64 (the standard alphabet with "=" padding) for stored passwords and mail transfer.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestrix {

std::string EncodeBase64(std::string_view bytes);

// Empty for text that is not Base64: a character outside the alphabet (line breaks included), a
// length that is not a multiple of four, or misplaced padding.
std::optional<std::string> DecodeBase64(std::string_view text);

}  // namespace kestrix
