// \brief The little-endian stream of the debug information: 32-bit integers, packed integers (one
// signed byte, or the byte -128 followed by a 32-bit integer) and packed strings (a length byte and
// that many bytes). The reader throws DebugInfoFormatError where the stream ends early.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kestrix {

class DebugInfoFormatError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class PackedStreamWriter {
  public:
    void WriteUInt32(std::uint32_t value);
    void WritePackedInt(std::int32_t value);
    // Names longer than a length byte holds are cut at 255 bytes, at a UTF-8 character boundary.
    void WritePackedString(std::string_view text);
    void WriteByte(std::uint8_t value);

    const std::string& Bytes() const { return m_bytes; }

  private:
    std::string m_bytes;
};

class PackedStreamReader {
  public:
    explicit PackedStreamReader(std::string_view bytes) : m_bytes(bytes) {}

    std::uint32_t ReadUInt32();
    std::int32_t ReadPackedInt();
    std::string_view ReadPackedString();
    std::uint8_t ReadByte();

    std::size_t Remaining() const { return m_bytes.size() - m_position; }

  private:
    std::string_view Take(std::size_t count);

    std::string_view m_bytes;
    std::size_t m_position = 0;
};

// Little-endian access to raw byte buffers (the container header, the compressed stream).
std::uint32_t ReadLittleEndian32(std::string_view bytes, std::size_t offset);
void AppendLittleEndian(std::string& out, std::uint64_t value, int byteCount);

}  // namespace kestrix
