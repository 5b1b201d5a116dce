// \brief ReportCipher: the keyed byte cipher of stored passwords (and of enciphered blobs).
//
// The cipher XORs the data with a key stream. The stream's 64-bit state starts as the FNV-1a hash
// of the key's bytes with the 32-bit seed mixed into the offset basis; each step of SplitMix64
// advances the state and gives 64 bits of key stream, XORed onto the next 8 data bytes as one
// little-endian word (the last, shorter group takes the word's low bytes). Enciphering and
// deciphering are the same operation.
//
// This is obfuscation, not protection: whoever has the executable has the key and the seeds. It
// keeps a password out of plain sight in the binary and in memory dumps of the resource.
//
// A stored password (`SmtpPassword`, `HttpPassword`) is the Base64 text of the plain password
// enciphered twice: keyed by the account setting with AccountSeed, then by the server setting with
// ServerSeed. Reading it undoes the two steps in reverse order.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kestrix {

inline constexpr std::uint32_t ServerSeed = 0x4B585356;   // "KXSV"
inline constexpr std::uint32_t AccountSeed = 0x4B584143;  // "KXAC"

std::string ApplyReportCipher(std::string_view data, std::string_view key, std::uint32_t seed);
// The same in place, for large blobs that need no copy.
void ApplyReportCipherInPlace(std::span<char> data, std::string_view key, std::uint32_t seed);

std::string EncipherStoredPassword(std::string_view plain,
                                   std::string_view server,
                                   std::string_view account);

// Empty when `stored` is not Base64.
std::optional<std::string> DecipherStoredPassword(std::string_view stored,
                                                  std::string_view server,
                                                  std::string_view account);

}  // namespace kestrix
