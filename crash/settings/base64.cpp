// \brief Base64 encoding and strict decoding.
#include "crash/settings/base64.h"

#include <algorithm>
#include <cstdint>

namespace kestrix {
namespace {

constexpr std::string_view Alphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int SextetOf(char c) {
    const std::size_t index = Alphabet.find(c);
    return index == std::string_view::npos ? -1 : int(index);
}

}  // namespace

std::string EncodeBase64(std::string_view bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t count = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t group = 0;
        for (std::size_t j = 0; j < 3; ++j) {
            group = (group << 8) | (j < count ? std::uint8_t(bytes[i + j]) : 0u);
        }
        for (std::size_t j = 0; j < 4; ++j) {
            out += j <= count ? Alphabet[(group >> (18 - 6 * j)) & 0x3F] : '=';
        }
    }
    return out;
}

std::optional<std::string> DecodeBase64(std::string_view text) {
    if (text.size() % 4 != 0) {
        return std::nullopt;
    }
    std::string out;
    out.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i < text.size(); i += 4) {
        // Only the last group may end in one or two "=".
        std::size_t padding = 0;
        if (i + 4 == text.size() && text[i + 3] == '=') {
            padding = text[i + 2] == '=' ? 2 : 1;
        }
        std::uint32_t group = 0;
        for (std::size_t j = 0; j < 4 - padding; ++j) {
            const int sextet = SextetOf(text[i + j]);
            if (sextet < 0) {
                return std::nullopt;
            }
            group |= std::uint32_t(sextet) << (18 - 6 * j);
        }
        for (std::size_t j = 0; j < 3 - padding; ++j) {
            out += char((group >> (16 - 8 * j)) & 0xFF);
        }
    }
    return out;
}

}  // namespace kestrix
