// \brief Writing and parsing the plain stream of a module's debug information.
#include "crash/debuginfo/map_file_stream.h"

#include <algorithm>

#include "crash/debuginfo/packed_stream.h"

namespace kestrix {
namespace {

// Each entry takes at least one byte, so a count beyond the bytes left is damage; checking first
// keeps a damaged count from reserving gigabytes.
std::uint32_t ReadCount(PackedStreamReader& reader) {
    const std::uint32_t count = reader.ReadUInt32();
    if (count > reader.Remaining()) {
        throw DebugInfoFormatError("debug information count " + std::to_string(count) +
                                   " exceeds its stream");
    }
    return count;
}

void MarkSegmentsWithLines(MapFileContent& content) {
    for (MapSegment& segment : content.Segments) {
        const auto first =
            std::ranges::lower_bound(content.Lines, segment.Start, {}, &MapLine::Address);
        segment.HasLines =
            first != content.Lines.end() && first->Address - segment.Start < segment.Length;
    }
}

}  // namespace

std::string WriteMapFileStream(const MapFileContent& content, bool minimal) {
    PackedStreamWriter writer;
    writer.WriteUInt32(std::uint32_t(content.Segments.size()));
    for (const MapSegment& segment : content.Segments) {
        writer.WriteUInt32(segment.Start);
        writer.WriteUInt32(segment.Length);
        if (minimal) {
            writer.WriteByte(segment.HasLines ? 1 : 0);
        } else {
            writer.WritePackedString(content.Name(segment.Unit));
        }
    }
    writer.WriteUInt32(std::uint32_t(content.Publics.size()));
    std::uint32_t previous = 0;
    for (std::size_t i = 0; i < content.Publics.size(); ++i) {
        const MapPublic& symbol = content.Publics[i];
        if (!minimal) {
            writer.WritePackedString(content.Name(symbol.Name));
        }
        if (i == 0) {
            writer.WriteUInt32(symbol.Address);
        } else {
            writer.WritePackedInt(std::int32_t(symbol.Address - previous));
        }
        previous = symbol.Address;
    }
    writer.WriteUInt32(std::uint32_t(content.Lines.size()));
    MapLine last;
    for (std::size_t i = 0; i < content.Lines.size(); ++i) {
        const MapLine& line = content.Lines[i];
        if (i == 0) {
            writer.WriteUInt32(std::uint32_t(line.Line));
            writer.WriteUInt32(line.Address);
        } else {
            writer.WritePackedInt(
                std::int32_t(std::uint32_t(line.Line) - std::uint32_t(last.Line)));
            writer.WritePackedInt(std::int32_t(line.Address - last.Address));
        }
        last = line;
    }
    if (content.EntryPoint) {
        writer.WriteUInt32(*content.EntryPoint);
    }
    return writer.Bytes();
}

MapFileContent ReadMapFileStream(std::string_view stream, bool minimal) {
    return ReadMapFileStream(std::string(stream), minimal);
}

MapFileContent ReadMapFileStream(std::string&& stream, bool minimal) {
    MapFileContent content;
    content.Minimal = minimal;
    content.NamePool = std::move(stream);
    const std::string_view pool = content.NamePool;
    PackedStreamReader reader(pool);
    // The names stay where they are in the stream, which becomes the name pool.
    const auto readName = [&] {
        const std::string_view name = reader.ReadPackedString();
        return PooledName{std::uint32_t(name.data() - pool.data()), std::uint32_t(name.size())};
    };

    content.Segments.resize(ReadCount(reader));
    for (MapSegment& segment : content.Segments) {
        segment.Start = reader.ReadUInt32();
        segment.Length = reader.ReadUInt32();
        if (minimal) {
            segment.HasLines = reader.ReadByte() != 0;
        } else {
            segment.Unit = readName();
        }
    }
    content.Publics.resize(ReadCount(reader));
    for (std::size_t i = 0; i < content.Publics.size(); ++i) {
        MapPublic& symbol = content.Publics[i];
        if (!minimal) {
            symbol.Name = readName();
        }
        symbol.Address =
            i == 0 ? reader.ReadUInt32()
                   : content.Publics[i - 1].Address + std::uint32_t(reader.ReadPackedInt());
    }
    const std::uint32_t lineCount = ReadCount(reader);
    content.Lines.reserve(lineCount);
    if (lineCount > 0) {
        MapLine line;
        line.Line = std::int32_t(reader.ReadUInt32());
        line.Address = reader.ReadUInt32();
        content.Lines.push_back(line);
        for (std::uint32_t i = 1; i < lineCount; ++i) {
            line.Line =
                std::int32_t(std::uint32_t(line.Line) + std::uint32_t(reader.ReadPackedInt()));
            line.Address += std::uint32_t(reader.ReadPackedInt());
            content.Lines.push_back(line);
        }
    }
    if (reader.Remaining() == 4) {
        content.EntryPoint = reader.ReadUInt32();
    } else if (reader.Remaining() != 0) {
        throw DebugInfoFormatError("debug information has " + std::to_string(reader.Remaining()) +
                                   " bytes after its tables");
    }
    content.Sort();
    if (!minimal) {
        MarkSegmentsWithLines(content);
    }
    return content;
}

}  // namespace kestrix
