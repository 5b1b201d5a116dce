// \brief Writing and reading the packed integers and strings of the debug-information stream.
#include "crash/debuginfo/packed_stream.h"

#include <limits>

namespace kestrix {
namespace {

constexpr std::int8_t PackedEscape = std::numeric_limits<std::int8_t>::min();
constexpr std::size_t MaxPackedStringLength = 255;

std::size_t Utf8CutPosition(std::string_view text, std::size_t limit) {
    std::size_t cut = limit;
    while (cut > 0 && (std::uint8_t(text[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return cut;
}

}  // namespace

std::uint32_t ReadLittleEndian32(std::string_view bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = value << 8 | std::uint8_t(bytes[offset + std::size_t(i)]);
    }
    return value;
}

void AppendLittleEndian(std::string& out, std::uint64_t value, int byteCount) {
    for (int i = 0; i < byteCount; ++i) {
        out.push_back(char(value >> (8 * i) & 0xFF));
    }
}

void PackedStreamWriter::WriteUInt32(std::uint32_t value) {
    AppendLittleEndian(m_bytes, value, 4);
}

void PackedStreamWriter::WritePackedInt(std::int32_t value) {
    if (value > PackedEscape && value <= std::numeric_limits<std::int8_t>::max()) {
        m_bytes.push_back(char(std::int8_t(value)));
        return;
    }
    m_bytes.push_back(char(PackedEscape));
    WriteUInt32(std::uint32_t(value));
}

void PackedStreamWriter::WritePackedString(std::string_view text) {
    if (text.size() > MaxPackedStringLength) {
        text = text.substr(0, Utf8CutPosition(text, MaxPackedStringLength));
    }
    m_bytes.push_back(char(text.size()));
    m_bytes.append(text);
}

void PackedStreamWriter::WriteByte(std::uint8_t value) {
    m_bytes.push_back(char(value));
}

std::string_view PackedStreamReader::Take(std::size_t count) {
    if (count > Remaining()) {
        throw DebugInfoFormatError("debug information ends early at byte " +
                                   std::to_string(m_position));
    }
    const std::string_view taken = m_bytes.substr(m_position, count);
    m_position += count;
    return taken;
}

std::uint32_t PackedStreamReader::ReadUInt32() {
    return ReadLittleEndian32(Take(4), 0);
}

std::int32_t PackedStreamReader::ReadPackedInt() {
    const auto first = std::int8_t(Take(1)[0]);
    if (first != PackedEscape) {
        return first;
    }
    return std::int32_t(ReadUInt32());
}

std::string_view PackedStreamReader::ReadPackedString() {
    const std::size_t length = std::uint8_t(Take(1)[0]);
    return Take(length);
}

std::uint8_t PackedStreamReader::ReadByte() {
    return std::uint8_t(Take(1)[0]);
}

}  // namespace kestrix
