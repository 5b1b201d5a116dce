// \brief Hexadecimal formatting.
#include "crash/report/hex_text.h"

#include <cstdio>

namespace kestrix {

std::string HexAddress(std::uintptr_t address) {
    return HexDigits(address, static_cast<int>(AddressDigits));
}

std::string HexDigits(std::uintmax_t value, int minimumDigits) {
    char text[40];
    std::snprintf(text, sizeof text, "%0*jx", minimumDigits, value);
    return text;
}

}  // namespace kestrix
