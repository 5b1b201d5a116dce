// \brief The compressed stream of the debug information: the 8-byte little-endian length of the
// plain data, its CRC-32 (zlib's, the standard one), then the raw deflate data (RFC 1951).
//
// When deflate does not make the data smaller, the data follows uncompressed; a reader tells the
// two apart by the size: only stored data is exactly as long as the length says, because deflated
// data is kept only when it is shorter.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrix {

inline constexpr std::size_t CompressedStreamHeaderSize = 12;

std::string CompressString(std::string_view plain);

// The plain data; empty when the stream is damaged or its CRC-32 does not match.
std::string DecompressString(std::string_view compressed);

// The CRC-32 that a compressed stream's header holds (0 when the header is incomplete).
std::uint32_t CompressedStreamCrc(std::string_view compressed);

std::uint32_t Crc32(std::string_view data);

}  // namespace kestrix
