// \brief The key stream of ReportCipher and the stored-password form built on it.
#include "crash/settings/report_cipher.h"

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

std::uint8_t NextKeyByte(std::uint64_t& state) {
    state += 0x9E3779B97F4A7C15ULL;
    std::uint64_t z = state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return std::uint8_t((z ^ (z >> 31)) >> 56);
}

}  // namespace

std::string ApplyReportCipher(std::string_view data, std::string_view key, std::uint32_t seed) {
    std::uint64_t state = InitialState(key, seed);
    std::string out(data);
    for (char& c : out) {
        c = char(std::uint8_t(c) ^ NextKeyByte(state));
    }
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
