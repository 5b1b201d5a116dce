// \brief Counting the character classes of a candidate text.
#include "crash/report/text_test.h"

#include <array>
#include <span>

#include "crash/stack/guarded_read.h"

namespace kestrix {
namespace {

bool IsLetterDigitOrBlank(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ';
}

bool IsMark(unsigned char c) {
    return c == ',' || c == '.' || c == ':' || c == '\\';
}

bool EndsText(unsigned char c) {
    return c == 0 || c == '\n' || c == '\f';
}

}  // namespace

bool LooksLikeText(std::string_view text) {
    int letters = 0;
    int marks = 0;
    int symbols = 0;
    int others = 0;
    for (const char character : text) {
        const auto c = static_cast<unsigned char>(character);
        if (IsLetterDigitOrBlank(c))
            ++letters;
        else if (IsMark(c))
            ++marks;
        else if (c >= '!' && c <= ']')
            ++symbols;
        else
            ++others;
    }
    return text.size() >= 4 && 5 * marks < 2 * letters && 8 * symbols < marks / 2 + letters &&
           10 * others < marks / 2 + letters + symbols / 4;
}

std::optional<std::string> TextAt(std::uintptr_t address) {
    std::array<std::byte, TextTestLength> bytes{};
    const std::size_t read = TryReadPrefix(address, bytes);
    std::string text;
    for (const std::byte byte : std::span{bytes}.first(read)) {
        const auto c = static_cast<unsigned char>(byte);
        if (EndsText(c))
            break;
        if (c < ' ' || c == 0x7f)
            return std::nullopt;
        text.push_back(static_cast<char>(c));
    }
    if (!LooksLikeText(text))
        return std::nullopt;
    return text;
}

}  // namespace kestrix
