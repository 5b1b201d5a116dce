// \brief Writing and reading the debug-information container around the enciphered body.
#include "crash/debuginfo/debug_info_container.h"

#include <chrono>
#include <cstdio>

#include "crash/debuginfo/compressed_stream.h"
#include "crash/debuginfo/debug_info_cipher.h"
#include "crash/debuginfo/packed_stream.h"

namespace kestrix {
namespace {

constexpr std::size_t MinimumContainerSize = 23;
constexpr std::size_t Version2HeaderSize = 22;
constexpr std::size_t Version3HeaderSize = 34;

std::size_t HeaderSize(std::uint32_t version) {
    return version == 3 ? Version3HeaderSize : Version2HeaderSize;
}

std::uint16_t ReadLittleEndian16(std::string_view bytes, std::size_t offset) {
    return std::uint16_t(std::uint8_t(bytes[offset]) | std::uint8_t(bytes[offset + 1]) << 8);
}

void StampDosDateTime(DebugInfoHeader& header) {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const auto day = floor<days>(now);
    const year_month_day date{day};
    const hh_mm_ss time{floor<seconds>(now - day)};
    header.DosDate = std::uint16_t((int(date.year()) - 1980) << 9 | unsigned(date.month()) << 5 |
                                   unsigned(date.day()));
    header.DosTime = std::uint16_t(time.hours().count() << 11 | time.minutes().count() << 5 |
                                   time.seconds().count() / 2);
}

}  // namespace

bool IsDebugInfoContainer(std::string_view data) {
    if (data.size() < MinimumContainerSize || !data.starts_with(DebugInfoSignature)) {
        return false;
    }
    const std::uint32_t version = ReadLittleEndian32(data, 18);
    return version == 2 || version == 3;
}

std::string WriteDebugInfoContainer(std::string_view plainStream, int version, bool minimal) {
    const std::string compressed = CompressString(plainStream);
    DebugInfoHeader header;
    header.Version = std::uint32_t(version);
    header.BodyLength = std::uint32_t(compressed.size());
    header.Crc = CompressedStreamCrc(compressed);
    header.Flags = minimal ? MinimalDebugInfoFlag : 0;
    StampDosDateTime(header);

    std::string out(DebugInfoSignature);
    AppendLittleEndian(out, header.BodyLength, 4);
    AppendLittleEndian(out, header.Version, 4);
    if (version == 3) {
        AppendLittleEndian(out, header.DosDate, 2);
        AppendLittleEndian(out, header.DosTime, 2);
        AppendLittleEndian(out, header.Crc, 4);
        AppendLittleEndian(out, header.Flags, 4);
    }
    out += CipherDebugInfoBody(compressed);
    out.resize((out.size() + 3) / 4 * 4, '\0');
    return out;
}

std::optional<DebugInfoContainer> ReadDebugInfoContainer(std::string_view data) {
    if (!IsDebugInfoContainer(data)) {
        return std::nullopt;
    }
    DebugInfoContainer container;
    DebugInfoHeader& header = container.Header;
    header.Version = ReadLittleEndian32(data, 18);
    header.BodyLength = ReadLittleEndian32(data, 14);
    const std::size_t bodyStart = HeaderSize(header.Version);
    if (data.size() < bodyStart || data.size() - bodyStart < header.BodyLength) {
        return std::nullopt;
    }
    if (header.Version == 3) {
        header.DosDate = ReadLittleEndian16(data, 22);
        header.DosTime = ReadLittleEndian16(data, 24);
        header.Crc = ReadLittleEndian32(data, 26);
        header.Flags = ReadLittleEndian32(data, 30);
    }
    std::string compressed(data.substr(bodyStart, header.BodyLength));
    CipherDebugInfoBodyInPlace(compressed);
    if (header.Version == 3 && CompressedStreamCrc(compressed) != header.Crc) {
        return std::nullopt;
    }
    header.Crc = CompressedStreamCrc(compressed);
    container.PlainStream = DecompressString(compressed);
    if (container.PlainStream.empty()) {
        return std::nullopt;
    }
    return container;
}

std::string DebugInfoIdentification(const DebugInfoHeader& header) {
    char text[40];
    std::snprintf(text, sizeof text, "$%08X, $%08X, $%08X", unsigned(header.BodyLength),
                  unsigned(std::uint32_t(header.DosDate) << 16 | header.DosTime),
                  unsigned(header.Crc));
    return text;
}

}  // namespace kestrix
