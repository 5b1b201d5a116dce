// \brief The zip writer: per entry a local header and the deflated data, then the central
// directory and its end record, all little-endian.
#include "crash/delivery/attachments/zip_archive.h"

#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <fstream>
#include <limits>
#include <stdexcept>

#include "crash/delivery/attachments/file_bytes.h"

namespace kestrix {
namespace {

constexpr std::uint16_t VersionNeeded = 20;  // 2.0: deflate
constexpr std::uint16_t MethodDeflate = 8;
constexpr std::uint16_t FlagUtf8Names = 1u << 11;

class LittleEndianBytes {
  public:
    void U16(std::uint32_t value) {
        m_bytes.push_back(static_cast<char>(value & 0xFF));
        m_bytes.push_back(static_cast<char>((value >> 8) & 0xFF));
    }
    void U32(std::uint32_t value) {
        U16(value & 0xFFFF);
        U16(value >> 16);
    }
    void Text(const std::string& text) { m_bytes += text; }
    const std::string& Bytes() const { return m_bytes; }

  private:
    std::string m_bytes;
};

struct WrittenEntry {
    std::string Name;
    std::uint32_t Crc = 0;
    std::uint32_t CompressedSize = 0;
    std::uint32_t Size = 0;
    std::uint32_t Offset = 0;
    std::uint16_t DosTime = 0;
    std::uint16_t DosDate = 0;
};

// A raw deflate stream (no zlib header), as zip entries carry it.
std::string Deflate(const std::string& bytes) {
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) !=
        Z_OK) {
        throw std::runtime_error("cannot start the deflate compression");
    }
    std::string output(deflateBound(&stream, static_cast<uLong>(bytes.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(output.data());
    stream.avail_out = static_cast<uInt>(output.size());
    const int result = deflate(&stream, Z_FINISH);
    output.resize(stream.total_out);
    deflateEnd(&stream);
    if (result != Z_STREAM_END) {
        throw std::runtime_error("deflate compression failed");
    }
    return output;
}

// The file's modification time in the DOS form of zip headers (local time, two-second steps).
void SetDosTime(const std::filesystem::path& file, WrittenEntry& entry) {
    std::time_t time = std::time(nullptr);
    std::error_code error;
    const auto written = std::filesystem::last_write_time(file, error);
    if (!error) {
        time = std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(written));
    }
    std::tm local{};
    localtime_r(&time, &local);
    const int year = std::max(local.tm_year + 1900, 1980) - 1980;
    entry.DosTime = static_cast<std::uint16_t>((local.tm_hour << 11) | (local.tm_min << 5) |
                                               (local.tm_sec / 2));
    entry.DosDate =
        static_cast<std::uint16_t>((year << 9) | ((local.tm_mon + 1) << 5) | local.tm_mday);
}

std::uint32_t Fits32(std::size_t value, const std::string& name) {
    if (value >= std::numeric_limits<std::uint32_t>::max()) {
        throw std::runtime_error("\"" + name + "\" is too large for a zip archive");
    }
    return static_cast<std::uint32_t>(value);
}

void HeaderCommon(LittleEndianBytes& bytes, const WrittenEntry& entry) {
    bytes.U16(FlagUtf8Names);
    bytes.U16(MethodDeflate);
    bytes.U16(entry.DosTime);
    bytes.U16(entry.DosDate);
    bytes.U32(entry.Crc);
    bytes.U32(entry.CompressedSize);
    bytes.U32(entry.Size);
    bytes.U16(static_cast<std::uint32_t>(entry.Name.size()));
    bytes.U16(0);  // extra field length
}

}  // namespace

void WriteZipArchive(const std::filesystem::path& archive, const std::vector<ZipEntry>& entries) {
    std::string body;
    std::vector<WrittenEntry> written;
    for (const ZipEntry& entry : entries) {
        const std::string bytes = ReadFileBytes(entry.File);
        WrittenEntry header;
        header.Name = entry.Name;
        header.Size = Fits32(bytes.size(), entry.Name);
        header.Crc = static_cast<std::uint32_t>(crc32(crc32(0, nullptr, 0),
                                                      reinterpret_cast<const Bytef*>(bytes.data()),
                                                      static_cast<uInt>(bytes.size())));
        const std::string compressed = Deflate(bytes);
        header.CompressedSize = Fits32(compressed.size(), entry.Name);
        header.Offset = Fits32(body.size(), entry.Name);
        SetDosTime(entry.File, header);
        LittleEndianBytes local;
        local.U32(0x04034b50);
        local.U16(VersionNeeded);
        HeaderCommon(local, header);
        local.Text(header.Name);
        body += local.Bytes();
        body += compressed;
        written.push_back(header);
    }
    LittleEndianBytes directory;
    for (const WrittenEntry& header : written) {
        directory.U32(0x02014b50);
        directory.U16((3u << 8) | VersionNeeded);  // made on Unix
        directory.U16(VersionNeeded);
        HeaderCommon(directory, header);
        directory.U16(0);  // comment length
        directory.U16(0);  // disk number
        directory.U16(0);  // internal attributes
        directory.U32(0100644u << 16);
        directory.U32(header.Offset);
        directory.Text(header.Name);
    }
    const std::uint32_t directoryOffset = Fits32(body.size(), archive.string());
    body += directory.Bytes();
    LittleEndianBytes end;
    end.U32(0x06054b50);
    end.U16(0);
    end.U16(0);
    if (written.size() > 0xFFFF) {
        throw std::runtime_error("too many entries for a zip archive");
    }
    end.U16(static_cast<std::uint32_t>(written.size()));
    end.U16(static_cast<std::uint32_t>(written.size()));
    end.U32(Fits32(directory.Bytes().size(), archive.string()));
    end.U32(directoryOffset);
    end.U16(0);
    body += end.Bytes();

    std::ofstream stream(archive, std::ios::binary | std::ios::trunc);
    stream.write(body.data(), static_cast<std::streamsize>(body.size()));
    stream.close();
    if (!stream) {
        throw std::runtime_error("cannot write \"" + archive.string() + "\"");
    }
}

}  // namespace kestrix
