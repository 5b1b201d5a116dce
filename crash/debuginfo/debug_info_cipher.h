// \brief The cipher of the debug-information container's body.
//
// The body is enciphered with ReportCipher's older variant: the same key stream with the seed fixed
// at 0, as it was before the seeds that keep stored passwords of different settings apart. The key
// is built from the body's length N: the text "KXDBGI" joined with "$" and N as 7 (or more)
// upper-case hexadecimal digits, then "KXDBGI" joined with N as 8 (or more) decimal digits; the two
// are concatenated, the whole is doubled, and that text enciphered with itself is the key. Like the
// stored passwords this keeps the names out of plain sight, nothing more.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kestrix {

std::string ApplyOlderReportCipher(std::string_view data, std::string_view key);

std::string DebugInfoBodyKey(std::uint32_t bodyLength);

// Enciphering and deciphering are the same operation.
std::string CipherDebugInfoBody(std::string_view body);
void CipherDebugInfoBodyInPlace(std::span<char> body);

}  // namespace kestrix
