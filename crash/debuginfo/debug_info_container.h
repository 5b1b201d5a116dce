// \brief The debug-information container: what the build step embeds in the executable and what a
// ".kes" file holds. Little-endian:
//
//   0  14  signature "Kestrix-DbgInf"
//   14  4  length N of the enciphered body
//   18  4  format version, 2 or 3
//   22  2  version 3: creation date, DOS format, UTC
//   24  2  version 3: creation time, DOS format, UTC
//   26  4  version 3: CRC-32 of the plain stream
//   30  4  version 3: flags, bit 0 = minimal debug information
//   22 or 34  N  enciphered body: the compressed stream (debug_info_cipher.h)
//   then zero bytes up to a multiple of 4
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrix {

inline constexpr std::string_view DebugInfoSignature = "Kestrix-DbgInf";
inline constexpr std::uint32_t MinimalDebugInfoFlag = 1;

struct DebugInfoHeader {
    std::uint32_t Version = 3;
    std::uint32_t BodyLength = 0;
    std::uint16_t DosDate = 0;
    std::uint16_t DosTime = 0;
    std::uint32_t Crc = 0;
    std::uint32_t Flags = 0;

    bool Minimal() const { return (Flags & MinimalDebugInfoFlag) != 0; }
};

struct DebugInfoContainer {
    DebugInfoHeader Header;
    std::string PlainStream;
};

// Whether the data is a container at all: at least 23 bytes, the signature and version 2 or 3.
bool IsDebugInfoContainer(std::string_view data);

// Version 3 stamps the current UTC date and time; the header's other fields follow the stream.
std::string WriteDebugInfoContainer(std::string_view plainStream, int version, bool minimal);

// The header and plain stream; none when the data is no container, is cut short, or its body does
// not decipher and inflate to data with the recorded CRC-32.
std::optional<DebugInfoContainer> ReadDebugInfoContainer(std::string_view data);

// The identification of the full information that a minimal one stands for: body length, DOS date
// and time as one 32-bit value, and CRC-32, each "$" and 8 hexadecimal digits, ", " between.
std::string DebugInfoIdentification(const DebugInfoHeader& header);

}  // namespace kestrix
