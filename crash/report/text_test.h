// \brief The text test of the disassembly's comments: whether the bytes an operand points at read
// as a text worth showing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrix {

inline constexpr std::size_t TextTestLength = 100;

// The characters fall into letters, digits and blanks (L), the marks "," "." ":" "\" (P), the
// other characters from "!" to "]" (S) and all others (O). A text has at least 4 characters,
// 5 P < 2 L, 8 S < P / 2 + L and 10 O < P / 2 + L + S / 4 (integer divisions).
bool LooksLikeText(std::string_view text);

// The text at address: at most 100 characters, up to a NUL, line feed or form feed, read through
// the guarded reads; none when another control character comes first or the bytes fail the test.
std::optional<std::string> TextAt(std::uintptr_t address);

}  // namespace kestrix
