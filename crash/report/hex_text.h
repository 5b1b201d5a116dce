// \brief Lower-case hexadecimal texts of the report: addresses (16 digits on this platform),
// bytes, and numbers without leading zeros.
#pragma once

#include <cstdint>
#include <string>

namespace kestrix {

inline constexpr std::size_t AddressDigits = 16;

std::string HexAddress(std::uintptr_t address);
// At least the given number of digits, zero-padded.
std::string HexDigits(std::uintmax_t value, int minimumDigits = 1);

}  // namespace kestrix
