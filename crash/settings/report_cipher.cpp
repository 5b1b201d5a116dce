// \brief The key stream of ReportCipher and the stored-password form built on it.
#include "crash/settings/report_cipher.h"

#include <bit>
#include <cstring>

#include "crash/settings/base64.h"

namespace kestrix {
namespace {

std::uint64_t InitialState(std::string_view key, std::uint32_t seed) {
    constexpr std::uint64_t FnvOffsetBasis = 0xCBF29CE484222325ULL;
    constexpr std::uint64_t FnvPrime = 0x100000001B3ULL;
    std::uint64_t state = FnvOffsetBasis ^ (std::uint64_t(seed) << 32 | seed);
    for (const char c : key) {
        state = (state ^ std::uint8_t(c)) * FnvPrime;
    }
    return state;
}

std::uint64_t NextKeyWord(std::uint64_t& state) {
    state += 0x9E3779B97F4A7C15ULL;
    std::uint64_t z = state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

}  // namespace

void ApplyReportCipherInPlace(std::span<char> data, std::string_view key, std::uint32_t seed) {
    // The words are little-endian: the product runs on x86-64.
    static_assert(std::endian::native == std::endian::little);
    std::uint64_t state = InitialState(key, seed);
    constexpr std::size_t WordSize = sizeof(std::uint64_t);
    std::size_t at = 0;
    for (; at + WordSize <= data.size(); at += WordSize) {
        std::uint64_t word = 0;
        std::memcpy(&word, data.data() + at, WordSize);
        word ^= NextKeyWord(state);
        std::memcpy(data.data() + at, &word, WordSize);
    }
    if (at < data.size()) {
        std::uint64_t word = NextKeyWord(state);
        for (; at < data.size(); ++at, word >>= 8) {
            data[at] = char(std::uint8_t(data[at]) ^ std::uint8_t(word));
        }
    }
}

std::string ApplyReportCipher(std::string_view data, std::string_view key, std::uint32_t seed) {
    std::string out(data);
    ApplyReportCipherInPlace(out, key, seed);
    return out;
}

std::string EncipherStoredPassword(std::string_view plain,
                                   std::string_view server,
                                   std::string_view account) {
    return EncodeBase64(
        ApplyReportCipher(ApplyReportCipher(plain, account, AccountSeed), server, ServerSeed));
}

std::optional<std::string> DecipherStoredPassword(std::string_view stored,
                                                  std::string_view server,
                                                  std::string_view account) {
    const std::optional<std::string> enciphered = DecodeBase64(stored);
    if (!enciphered) {
        return std::nullopt;
    }
    return ApplyReportCipher(ApplyReportCipher(*enciphered, server, ServerSeed), account,
                             AccountSeed);
}

}  // namespace kestrix
