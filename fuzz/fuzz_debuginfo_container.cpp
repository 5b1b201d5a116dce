// \brief Fuzz target of the debug-information reader: any bytes, read as a container and as a plain
// stream, must give a module's tables or a refusal, never a crash, a hang or a read beyond the
// input; tables that were read must answer lookups and write back to the same tables.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "crash/debuginfo/debug_info_container.h"
#include "crash/debuginfo/map_file.h"
#include "crash/debuginfo/map_file_stream.h"
#include "crash/debuginfo/packed_stream.h"

namespace {

using namespace kestrix;

bool SameTables(const MapFileContent& a, const MapFileContent& b) {
    if (a.Segments.size() != b.Segments.size() || a.Publics.size() != b.Publics.size() ||
        a.Lines.size() != b.Lines.size() || a.EntryPoint != b.EntryPoint) {
        return false;
    }
    for (std::size_t i = 0; i < a.Publics.size(); ++i) {
        if (a.Publics[i].Address != b.Publics[i].Address ||
            a.Name(a.Publics[i].Name) != b.Name(b.Publics[i].Name)) {
            return false;
        }
    }
    for (std::size_t i = 0; i < a.Lines.size(); ++i) {
        if (a.Lines[i].Address != b.Lines[i].Address || a.Lines[i].Line != b.Lines[i].Line) {
            return false;
        }
    }
    return true;
}

void CheckStream(std::string_view stream, bool minimal) {
    MapFileContent content;
    try {
        content = ReadMapFileStream(stream, minimal);
    } catch (const DebugInfoFormatError&) {
        return;
    }
    const MapFileContent again = ReadMapFileStream(WriteMapFileStream(content, minimal), minimal);
    if (!SameTables(content, again)) {
        std::abort();
    }
    const TMapFile map(std::move(content), {0x1000, 0x1000, 0x1000 + 0x100000, 0, 0});
    for (const MapSegment& segment : map.Content().Segments) {
        const std::uintptr_t address = map.BaseOfCode() + segment.Start;
        (void)map.GetMapFileInfos(address);
        (void)map.FindLine(address + segment.Length / 2);
    }
    for (const MapPublic& symbol : map.Content().Publics) {
        (void)map.GetMapFileInfos(map.BaseOfCode() + symbol.Address + 1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const auto container = ReadDebugInfoContainer(bytes)) {
        CheckStream(container->PlainStream, container->Header.Minimal());
    }
    CheckStream(bytes, false);
    CheckStream(bytes, true);
    return 0;
}
