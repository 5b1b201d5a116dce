// \brief The little-endian stream of the debug information: 32-bit integers, packed integers (one
// signed byte, or the byte -128 followed by a 32-bit integer) and packed strings (a length byte and
// that many bytes). The reader throws DebugInfoFormatError where the stream ends early.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kestrix {

// The packed integer's escape byte: a 32-bit integer follows.
inline constexpr std::int8_t PackedIntEscape = -128;

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

// Little-endian access to raw byte buffers (the container header, the compressed stream).
inline std::uint32_t ReadLittleEndian32(std::string_view bytes, std::size_t offset) {
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    // The product runs on x86-64, so the stream's byte order is the machine's.
    static_assert(std::endian::native == std::endian::little);
    return value;
}
void AppendLittleEndian(std::string& out, std::uint64_t value, int byteCount);

// Inline: a module's line table is tens of thousands of packed values read on first use.
class PackedStreamReader {
  public:
    explicit PackedStreamReader(std::string_view bytes) : m_bytes(bytes) {}

    std::uint32_t ReadUInt32() { return ReadLittleEndian32(Take(4), 0); }
    std::int32_t ReadPackedInt() {
        const auto first = std::int8_t(ReadByte());
        return first != PackedIntEscape ? first : std::int32_t(ReadUInt32());
    }
    std::string_view ReadPackedString() { return Take(ReadByte()); }
    std::uint8_t ReadByte() {
        if (m_position == m_bytes.size()) {
            ThrowEndOfStream(m_position);
        }
        return std::uint8_t(m_bytes[m_position++]);
    }

    std::size_t Remaining() const { return m_bytes.size() - m_position; }

  private:
    std::string_view Take(std::size_t count) {
        if (count > Remaining()) {
            ThrowEndOfStream(m_position);
        }
        const std::string_view taken(m_bytes.data() + m_position, count);
        m_position += count;
        return taken;
    }
    [[noreturn]] static void ThrowEndOfStream(std::size_t position);

    std::string_view m_bytes;
    std::size_t m_position = 0;
};

}  // namespace kestrix
