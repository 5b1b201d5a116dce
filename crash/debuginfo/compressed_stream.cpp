// \brief Raw deflate through zlib, with the length and CRC-32 header of the compressed stream.
#include "crash/debuginfo/compressed_stream.h"

#include <zlib.h>

#include "crash/debuginfo/packed_stream.h"

namespace kestrix {
namespace {

constexpr int RawDeflateWindowBits = -15;
// Deflate cannot expand data by more than about 1032 to 1; a length beyond that is damage, and
// refusing it keeps a damaged header from asking for gigabytes.
constexpr std::uint64_t MaxDeflateRatio = 1032;
constexpr std::uint64_t MaxPlainSize = std::uint64_t(1) << 30;

std::uint64_t ReadLength(std::string_view compressed) {
    return std::uint64_t(ReadLittleEndian32(compressed, 0)) |
           std::uint64_t(ReadLittleEndian32(compressed, 4)) << 32;
}

std::string Deflate(std::string_view plain) {
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, RawDeflateWindowBits, 9,
                     Z_DEFAULT_STRATEGY) != Z_OK) {
        throw std::runtime_error("deflate cannot start");
    }
    std::string out(deflateBound(&stream, uLong(plain.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(plain.data()));
    stream.avail_in = uInt(plain.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    const int result = deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    if (result != Z_STREAM_END) {
        throw std::runtime_error("deflate failed");
    }
    return out;
}

std::string Inflate(std::string_view data, std::size_t plainSize) {
    z_stream stream{};
    if (inflateInit2(&stream, RawDeflateWindowBits) != Z_OK) {
        return {};
    }
    std::string out(plainSize, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = uInt(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    const int result = inflate(&stream, Z_FINISH);
    const bool complete = result == Z_STREAM_END && stream.total_out == plainSize;
    inflateEnd(&stream);
    if (!complete) {
        return {};
    }
    return out;
}

}  // namespace

std::uint32_t Crc32(std::string_view data) {
    return std::uint32_t(crc32(0, reinterpret_cast<const Bytef*>(data.data()), uInt(data.size())));
}

std::string CompressString(std::string_view plain) {
    std::string out;
    AppendLittleEndian(out, plain.size(), 8);
    AppendLittleEndian(out, Crc32(plain), 4);
    const std::string deflated = Deflate(plain);
    out.append(deflated.size() < plain.size() ? std::string_view(deflated) : plain);
    return out;
}

std::uint32_t CompressedStreamCrc(std::string_view compressed) {
    return compressed.size() < CompressedStreamHeaderSize ? 0 : ReadLittleEndian32(compressed, 8);
}

std::string DecompressString(std::string_view compressed) {
    if (compressed.size() < CompressedStreamHeaderSize) {
        return {};
    }
    const std::uint64_t plainSize = ReadLength(compressed);
    const std::string_view data = compressed.substr(CompressedStreamHeaderSize);
    if (plainSize > MaxPlainSize || plainSize > (data.size() + 1) * MaxDeflateRatio) {
        return {};
    }
    std::string plain =
        data.size() == plainSize ? std::string(data) : Inflate(data, std::size_t(plainSize));
    if (plain.size() != plainSize || Crc32(plain) != CompressedStreamCrc(compressed)) {
        return {};
    }
    return plain;
}

}  // namespace kestrix
