// \brief Writing and reading the packed integers and strings of the debug-information stream.
#include "crash/debuginfo/packed_stream.h"

#include <limits>

namespace kestrix {
namespace {

constexpr std::size_t MaxPackedStringLength = 255;

std::size_t Utf8CutPosition(std::string_view text, std::size_t limit) {
    std::size_t cut = limit;
    while (cut > 0 && (std::uint8_t(text[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return cut;
}

}  // namespace

void AppendLittleEndian(std::string& out, std::uint64_t value, int byteCount) {
    for (int i = 0; i < byteCount; ++i) {
        out.push_back(char(value >> (8 * i) & 0xFF));
    }
}

void PackedStreamWriter::WriteUInt32(std::uint32_t value) {
    AppendLittleEndian(m_bytes, value, 4);
}

void PackedStreamWriter::WritePackedInt(std::int32_t value) {
    if (value > PackedIntEscape && value <= std::numeric_limits<std::int8_t>::max()) {
        m_bytes.push_back(char(std::int8_t(value)));
        return;
    }
    m_bytes.push_back(char(PackedIntEscape));
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

void PackedStreamReader::ThrowEndOfStream(std::size_t position) {
    throw DebugInfoFormatError("debug information ends early at byte " + std::to_string(position));
}

}  // namespace kestrix
