// \brief Windows-1252 and UTF-16 to and from UTF-8.
#include "crash/settings/text_code_page.h"

#include <array>
#include <cstdint>

namespace kestrix {
namespace {

// Code points of the bytes 0x80 to 0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char32_t, 32> HighControlRange = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char32_t ReplacementCharacter = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// Decodes the code point at `pos` and advances past it; malformed or overlong sequences,
// surrogates and values beyond U+10FFFF give nothing and advance by one byte.
std::optional<char32_t> NextUtf8(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<std::uint8_t>(text[pos]);
    std::size_t length = 1;
    char32_t c = lead;
    if (lead >= 0xF0 && lead < 0xF8) {
        length = 4;
        c = lead & 0x07;
    } else if (lead >= 0xE0) {
        length = lead < 0xF0 ? 3 : 0;
        c = lead & 0x0F;
    } else if (lead >= 0xC0) {
        length = 2;
        c = lead & 0x1F;
    } else if (lead >= 0x80) {
        length = 0;
    }
    if (length == 0 || pos + length > text.size()) {
        ++pos;
        return std::nullopt;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<std::uint8_t>(text[pos + i]);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return std::nullopt;
        }
        c = (c << 6) | (next & 0x3F);
    }
    constexpr std::array<char32_t, 5> SmallestOfLength = {0, 0, 0x80, 0x800, 0x10000};
    if (c < SmallestOfLength[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++pos;
        return std::nullopt;
    }
    pos += length;
    return c;
}

}  // namespace

std::string Windows1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char byte : text) {
        const auto b = static_cast<std::uint8_t>(byte);
        AppendUtf8(out, b >= 0x80 && b < 0xA0 ? HighControlRange[b - 0x80] : char32_t(b));
    }
    return out;
}

std::optional<std::string> Utf8ToWindows1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const std::optional<char32_t> c = NextUtf8(text, pos);
        if (!c) {
            return std::nullopt;
        }
        if (*c < 0x80 || (*c >= 0xA0 && *c <= 0xFF)) {
            out += char(*c);
            continue;
        }
        std::size_t index = 0;
        while (index < HighControlRange.size() && HighControlRange[index] != *c) {
            ++index;
        }
        if (index == HighControlRange.size()) {
            return std::nullopt;
        }
        out += char(0x80 + index);
    }
    return out;
}

std::string Utf16ToUtf8(const std::vector<char16_t>& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            AppendUtf8(out, 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit < 0xE000) {
            AppendUtf8(out, ReplacementCharacter);
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

std::vector<char16_t> Utf8ToUtf16(std::string_view text) {
    std::vector<char16_t> out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const char32_t c = NextUtf8(text, pos).value_or(ReplacementCharacter);
        if (c >= 0x10000) {
            out.push_back(char16_t(0xD800 + ((c - 0x10000) >> 10)));
            out.push_back(char16_t(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            out.push_back(char16_t(c));
        }
    }
    return out;
}

}  // namespace kestrix
